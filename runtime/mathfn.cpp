#include "runtime/mathfn.h"

#include <cmath>

namespace orvendale {

double rtcLog(double x) {
  return std::log(x);
}
double rtcTan(double x) {
  return std::tan(x);
}
double rtcCos(double x) {
  return std::cos(x);
}
double rtcSin(double x) {
  return std::sin(x);
}

}  // namespace orvendale
