#pragma once

#include "cli/RunResult.h"
#include "cli/Steadiness.h"
#include "platform/HeadlessRunHost.h"

namespace orvendale::cli {

// One whole run of `host`, classified (scored, interrupted, invalid or failed), with the
// processor's figures taken before and after it, never inside its work iterations, and its
// iterations per second from `ticks`, which the host's tick handler fills during the run.
RunResult measuredRun(platform::HeadlessRunHost& host, TickRecorder& ticks);

}  // namespace orvendale::cli
