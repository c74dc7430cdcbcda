#include "cli/measure/MeasuredRun.h"

#include <QElapsedTimer>
#include <exception>
#include <utility>

#include "cli/measure/RunWatchdog.h"

namespace orvendale::cli {

void watchTicks(platform::HeadlessRunHost& host, TickRecorder& ticks,
                const InterruptWatch& interrupt, std::function<void(std::int16_t ticks)> onTick) {
  host.setTickHandler([&host, &ticks, &interrupt, onTick = std::move(onTick)](std::int16_t tick) {
    ticks.record(tick, host.engine().dblLoops());
    if (interrupt.requested()) {
      host.stopRun();
    }
    if (onTick) {
      onTick(tick);
    }
  });
}

RunResult measuredRun(platform::HeadlessRunHost& host, TickRecorder& ticks) {
  const RunWatchdog watchdog(ticks.handledTicks());
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
