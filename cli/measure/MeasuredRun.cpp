#include "cli/measure/MeasuredRun.h"

#include <QElapsedTimer>
#include <exception>
#include <utility>

#include "cli/measure/RunWatchdog.h"

namespace orvendale::cli {

RunSetup::RunSetup(const InterruptWatch& interrupt, std::function<void(std::int16_t)> onTick) {
  host_.setTickHandler([this, &interrupt, onTick = std::move(onTick)](std::int16_t tick) {
    ticks_.record(tick, host_.engine().dblLoops());
    if (interrupt.requested()) {
      host_.stopRun();
    }
    if (onTick) {
      onTick(tick);
    }
  });
}

RunResult RunSetup::run() {
  const RunWatchdog watchdog(ticks_.handledTicks());
  ticks_.start();
  const ProcessSample before = sampleProcess();
  QElapsedTimer wall;
  wall.start();
  RunResult run;
  try {
    host_.runOnce();
    run = resultOfRun(host_.engine(), wall.nsecsElapsed());
  } catch (const std::exception& error) {
    run = failedRun(error.what(), wall.nsecsElapsed());
  }
  run.figures = figuresBetween(before, sampleProcess(), run.wallNanoseconds, clockTicksPerSecond());
  run.secondIterations = iterationsPerSecond(ticks_.counts());
  return run;
}

const std::string& RunSetup::lastIterationText() const {
  return host_.engine().lastIterationText();
}

}  // namespace orvendale::cli
