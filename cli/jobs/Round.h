#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "cli/run/RunResult.h"
#include "cli/stats/Statistics.h"

namespace orvendale::cli {

// One worker process's run in a --jobs round.
struct WorkerRun {
  int number = 0;                                // 1 to N
  std::optional<int> cpu;                        // the CPU it was pinned to
  RunResult run;                                 // failed, with what happened, when it died
  std::optional<std::int64_t> startNanoseconds;  // when its run began (monotonic clock)
};

// A --jobs round: a run alone on the machine, then N workers' runs at the same time.
struct Round {
  RunResult solo;
  std::vector<WorkerRun> workers;

  // Whether the solo run and every worker's run were scored.
  bool complete() const;
  // The sum of the workers' scores; nothing unless every worker scored.
  std::optional<double> multiCoreScore() const;
  std::optional<double> meanPerWorker() const;
  // The multi-core score over N times the solo score; nothing unless the round is complete.
  std::optional<double> efficiency() const;
  // The largest difference between the workers' start times; nothing for fewer than two.
  std::optional<double> startSkewMilliseconds() const;
};

// How the rounds' solo scores, multi-core scores and efficiencies spread, over the complete
// rounds.
struct RoundsSummary {
  std::optional<Summary> solo;
  std::optional<Summary> multiCore;
  std::optional<Summary> efficiency;
};
RoundsSummary summarizeRounds(std::span<const Round> rounds);

}  // namespace orvendale::cli
