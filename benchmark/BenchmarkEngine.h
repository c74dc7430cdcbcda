#pragma once

#include <cstdint>
#include <string>

#include "benchmark/RunHost.h"

namespace orvendale {

// Run control and work loop of the benchmark.
//
// "Run Benchmark" calls Command1_Click, which arms the 100 ms timer and repeats the work
// iteration in run() until the 100th tick, handled by Timer1_Timer inside the iteration's event
// pump, has disabled the timer. The score is floor(1.6 x completed iterations).
//
// Everything happens on the one UI thread; handlers may re-enter Command1_Click from the pump
// (a nested run), which resets the shared counters and runs to its own end.
class BenchmarkEngine {
 public:
  static constexpr int kTickIntervalMs = 100;
  static constexpr std::int16_t kTickLimit = 100;

  explicit BenchmarkEngine(RunHost& host) : host_(host) {}

  // Starts a run and returns when it is over, with the score shown. The busy pointer is reset
  // on every way out, the error path included.
  void Command1_Click();

  // Counts a tick; the 100th disables the timer and so ends the run.
  void Timer1_Timer();

  // Repeats the work iteration until the timer is found disabled at an iteration's end.
  void run();

  double dblValue() const { return dblValue_; }
  double dblLoops() const { return dblLoops_; }
  std::int16_t intTicks() const { return intTicks_; }
  // The text left by the last iteration's second encryption chain.
  const std::string& lastIterationText() const { return lastIterationText_; }

  // floor(iterations x 8 / 5), raising kFloatingPoint on an invalid, infinite or zero-divide step.
  static double score(double iterations);

 private:
  RunHost& host_;
  double dblValue_ = 0;
  double dblLoops_ = 0;
  std::int16_t intTicks_ = 0;
  std::string lastIterationText_;
};

}  // namespace orvendale
