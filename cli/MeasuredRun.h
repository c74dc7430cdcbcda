#pragma once

#include "cli/RunResult.h"
#include "platform/HeadlessRunHost.h"

namespace orvendale::cli {

// One whole run of `host`, classified (scored, interrupted, invalid or failed), with the
// processor's figures taken before and after it, never inside its work iterations.
RunResult measuredRun(platform::HeadlessRunHost& host);

}  // namespace orvendale::cli
