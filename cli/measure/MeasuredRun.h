#pragma once

#include <cstdint>
#include <functional>

#include "cli/measure/InterruptWatch.h"
#include "cli/run/RunResult.h"
#include "cli/run/PerSecond.h"
#include "platform/HeadlessRunHost.h"

namespace orvendale::cli {

// Makes `host`'s tick handler record each tick's completed iterations into `ticks` and, once
// Ctrl-C has come, stop the run, which ends with its current iteration; `onTick` runs after.
void watchTicks(platform::HeadlessRunHost& host, TickRecorder& ticks,
                const InterruptWatch& interrupt,
                std::function<void(std::int16_t ticks)> onTick = {});

// One whole run of `host`, classified (scored, interrupted, invalid or failed), with the
// processor's figures taken before and after it, never inside its work iterations, and its
// iterations per second from `ticks`, which the host's tick handler fills during the run. A run
// whose ticks stop ends the program (RunWatchdog.h).
RunResult measuredRun(platform::HeadlessRunHost& host, TickRecorder& ticks);

}  // namespace orvendale::cli
