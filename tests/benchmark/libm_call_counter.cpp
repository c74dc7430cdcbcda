// Counting stand-ins for the C library's log, tan, cos and sin. Defined in the test program,
// they take the place of the shared library's functions for every call the program makes, count
// it, and forward it to the real function.
#include <dlfcn.h>

#include "libm_call_counter.h"

namespace orvendale::testing {
LibmCallCounts libmCalls;
}

namespace {
using MathFunction = double (*)(double);

MathFunction real(const char* name) {
  return reinterpret_cast<MathFunction>(dlsym(RTLD_NEXT, name));
}
}  // namespace

extern "C" {
double log(double x) {
  static const MathFunction f = real("log");
  ++orvendale::testing::libmCalls.log;
  return f(x);
}
double tan(double x) {
  static const MathFunction f = real("tan");
  ++orvendale::testing::libmCalls.tan;
  return f(x);
}
double cos(double x) {
  static const MathFunction f = real("cos");
  ++orvendale::testing::libmCalls.cos;
  return f(x);
}
double sin(double x) {
  static const MathFunction f = real("sin");
  ++orvendale::testing::libmCalls.sin;
  return f(x);
}
}
