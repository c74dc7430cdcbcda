#include "benchmark/WorkIteration.h"

#include <utility>

#include "cipher/Module1.h"
#include "runtime/mathfn.h"
#include "runtime/numtext.h"

namespace orvendale {

namespace {
constexpr double kLogArgument = 321;
constexpr double kCosArgument = 3.1231;
constexpr int kMathPairs = 9;
constexpr int kChainLength = 6;

void encryptChain(std::string& text) {
  for (int call = 0; call < kChainLength; ++call) {
    text = Module1::EncryptString(std::move(text));
  }
}
}  // namespace

void runMathStage(double& value) {
  for (int pair = 0; pair < kMathPairs; ++pair) {
    value = rtcSin(rtcCos(rtcTan(rtcLog(kLogArgument))));
    value = rtcCos(kCosArgument);
  }
}

void runTextStage(const double& value, std::string& text) {
  text = rtcVarStrFromVar(value);
  encryptChain(text);
  text = rtcVarStrFromVar(value);
  encryptChain(text);
}

}  // namespace orvendale
