#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "cli/measure/InterruptWatch.h"
#include "cli/run/PerSecond.h"
#include "cli/run/RunResult.h"
#include "cli/sensors/SensorFiles.h"
#include "cli/sensors/TickReader.h"
#include "platform/HeadlessRunHost.h"

namespace orvendale::cli {

// The environment variable that turns a run's readings off when it is "off": only for measuring
// what the readings cost.
inline constexpr const char* kReadingsSwitch = "ORVENDALE_READINGS";

// What solo runs, rounds and workers each set up once and run as often as asked: a run host
// whose tick handler records each tick's completed iterations and, once Ctrl-C has come through
// `interrupt`, stops the run, which ends with its current iteration. `onTick` runs after, at
// every tick (a progress bar, say); whatever it uses must outlive the setup. Unless turned off
// (kReadingsSwitch), the tick handler also takes the run's readings (TickReader.h).
class RunSetup {
 public:
  explicit RunSetup(const InterruptWatch& interrupt,
                    std::function<void(std::int16_t ticks)> onTick = {});
  RunSetup(const RunSetup&) = delete;
  RunSetup& operator=(const RunSetup&) = delete;

  // One whole run, classified (scored, interrupted, invalid or failed), with the processor's
  // figures taken before and after it, never inside its work iterations, its iterations per
  // second from the recorded ticks, and its readings. A run whose ticks stop ends the program
  // (RunWatchdog.h).
  RunResult run();

  // The text the last run's last iteration left.
  const std::string& lastIterationText() const;

 private:
  platform::HeadlessRunHost host_;
  TickRecorder ticks_;
  std::optional<SensorFiles> sensors_;  // none when the readings are turned off
  std::optional<TickReader> reader_;    // the running run's
};

}  // namespace orvendale::cli
