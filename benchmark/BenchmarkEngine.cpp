#include "benchmark/BenchmarkEngine.h"

#include <cmath>
#include <utility>

#include "benchmark/WorkIteration.h"
#include "runtime/errors.h"
#include "runtime/numtext.h"

namespace orvendale {

namespace {
// Resets the pointer when Command1_Click is left, normally or by an error.
class DefaultPointerOnExit {
 public:
  explicit DefaultPointerOnExit(RunHost& host) : host_(host) {}
  ~DefaultPointerOnExit() { host_.setMousePointer(RunHost::kDefaultPointer); }
  DefaultPointerOnExit(const DefaultPointerOnExit&) = delete;
  DefaultPointerOnExit& operator=(const DefaultPointerOnExit&) = delete;

 private:
  RunHost& host_;
};
}  // namespace

void BenchmarkEngine::Command1_Click() {
  host_.setMousePointer(RunHost::kBusyPointer);
  const DefaultPointerOnExit resetPointer(host_);
  dblLoops_ = 0;
  dblValue_ = 1;
  intTicks_ = 0;
  clearFloatStatus();
  host_.setTimer1Enabled(true);  // enabled before the interval is set
  host_.setTimer1Interval(kTickIntervalMs);
  run();
  host_.setLabel1Caption("Result: " + rtcVarStrFromVar(score(dblLoops_)));
}

void BenchmarkEngine::Timer1_Timer() {
  intTicks_ = addChecked16(intTicks_, 1);
  host_.setText2(textFromInt16(intTicks_));
  if (intTicks_ == kTickLimit) {
    host_.setTimer1Enabled(false);
  }
}

void BenchmarkEngine::run() {
  std::string iterationText;
  do {
    dblValue_ = 1;
    host_.doEvents();
    runMathStage(dblValue_);
    runTextStage(dblValue_, iterationText);
    dblLoops_ = dblLoops_ + 1;
    testFloatStatus();  // the pump gives back the flags it found: these are the loop's own
  } while (host_.timer1Enabled());
  lastIterationText_ = std::move(iterationText);
}

double BenchmarkEngine::score(double iterations) {
  const double quotient = iterations * 8 / 5;
  testFloatStatus();
  return std::floor(quotient);
}

}  // namespace orvendale
