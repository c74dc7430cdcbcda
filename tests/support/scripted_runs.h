#pragma once

#include <cstdint>

#include "cli/run/RunResult.h"
#include "support/scripted_host.h"

namespace orvendale::testing {

// A run of the real engine over `iterations` work iterations whose 100 ticks are scripted: scored
// only when its last iteration left the workload's known text.
inline cli::RunResult scriptedRun(int iterations, std::int64_t wallNanoseconds) {
  ScriptedHost host;
  host.endAfter(iterations);
  host.engine.Command1_Click();
  return cli::resultOfRun(host.engine, wallNanoseconds);
}

}  // namespace orvendale::testing
