#pragma once

#include <span>
#include <vector>

#include "cli/jobs/Round.h"
#include "cli/measure/InterruptWatch.h"

namespace orvendale::cli {

// Starts `count` worker processes of this program (Worker.h), each pinned to a CPU of its own
// from `cpus` when there are at least `count` of them, lets them all begin their runs at once
// and collects their reports. A worker that cannot start, dies or reports nothing valid comes
// back failed, saying what happened. Ctrl-C, seen through `interrupt`, is passed on to every
// worker, which ends its run at its next tick. No worker outlives the call.
std::vector<WorkerRun> runWorkers(int count, std::span<const int> cpus,
                                  const InterruptWatch& interrupt);

}  // namespace orvendale::cli
