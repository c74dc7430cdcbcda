#include "cli/measure/MeasuredRun.h"

#include <QElapsedTimer>
#include <cstdlib>
#include <exception>
#include <string_view>
#include <utility>

#include "cli/measure/RunWatchdog.h"
#include "cli/system/Processors.h"

namespace orvendale::cli {

namespace {
// The whole seconds of a run, at most.
constexpr std::size_t kRunSeconds = BenchmarkEngine::kTickLimit / kTicksPerSecond;

bool readingsTurnedOff() {
  const char* value = std::getenv(kReadingsSwitch);
  return value != nullptr && std::string_view(value) == "off";
}
}  // namespace

RunSetup::RunSetup(const InterruptWatch& interrupt, std::function<void(std::int16_t)> onTick) {
  host_.setTickHandler([this, &interrupt, onTick = std::move(onTick)](std::int16_t tick) {
    ticks_.record(tick, host_.engine().dblLoops());
    if (reader_) {
      reader_->sampleClock();
      if (tick % kTicksPerSecond == 0) {
        reader_->endSecond();
      }
    }
    if (interrupt.requested()) {
      host_.stopRun();
    }
    if (onTick) {
      onTick(tick);
    }
  });
  if (!readingsTurnedOff()) {
    sensors_ = findSensorFiles(allowedCpus());
  }
}

RunResult RunSetup::run() {
  const RunWatchdog watchdog(ticks_.handledTicks());
  ticks_.start();
  if (sensors_) {
    reader_.emplace(*sensors_, kRunSeconds);
    reader_->start();
  }
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
  if (reader_) {
    run.readings = reader_->finish();
    reader_.reset();
  }
  return run;
}

const std::string& RunSetup::lastIterationText() const {
  return host_.engine().lastIterationText();
}

}  // namespace orvendale::cli
