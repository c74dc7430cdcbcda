#include "cli/MeasuredRun.h"

#include <QElapsedTimer>
#include <exception>

namespace orvendale::cli {

RunResult measuredRun(platform::HeadlessRunHost& host, TickRecorder& ticks) {
  ticks.start();
  const ProcessSample before = sampleProcess();
  QElapsedTimer wall;
  wall.start();
  RunResult run;
  try {
    host.runOnce();
    run = resultOfRun(host.engine(), wall.nsecsElapsed());
  } catch (const std::exception& error) {
    run = failedRun(error.what(), wall.nsecsElapsed());
  }
  run.figures = figuresBetween(before, sampleProcess(), run.wallNanoseconds, clockTicksPerSecond());
  run.secondIterations = iterationsPerSecond(ticks.counts());
  return run;
}

}  // namespace orvendale::cli
