#include "cli/report/Session.h"

#include <algorithm>

#include "cli/system/ExitStatus.h"

namespace orvendale::cli {

std::optional<Summary> Session::summary() const {
  std::vector<double> scores;
  for (const RunResult& run : runs) {
    if (run.scored()) {
      scores.push_back(run.score);
    }
  }
  return summarize(scores);
}

int Session::contendedRuns() const {
  return static_cast<int>(std::count_if(runs.begin(), runs.end(), [](const RunResult& run) {
    return run.scored() && run.figures && run.figures->contended();
  }));
}

int Session::unevenRuns() const {
  return static_cast<int>(std::count_if(
      runs.begin(), runs.end(), [](const RunResult& run) { return run.scored() && run.uneven(); }));
}

int Session::throttledRuns() const {
  return static_cast<int>(std::count_if(runs.begin(), runs.end(), [](const RunResult& run) {
    return run.scored() && run.throttled();
  }));
}

int Session::exitStatus() const {
  const auto failedRun = [](const RunResult& run) {
    return run.status == RunStatus::kInvalid || run.status == RunStatus::kFailed;
  };
  const bool failed =
      std::any_of(runs.begin(), runs.end(), failedRun) ||
      std::any_of(rounds.begin(), rounds.end(), [&](const Round& round) {
        return std::any_of(round.workers.begin(), round.workers.end(),
                           [&](const WorkerRun& worker) { return failedRun(worker.run); });
      });
  if (failed) {
    return kFailureExitStatus;
  }
  if (interrupted) {
    return kInterruptedExitStatus;
  }
  const auto scored =
      std::count_if(runs.begin(), runs.end(), [](const RunResult& run) { return run.scored(); });
  return scored == runsRequested ? 0 : kFailureExitStatus;
}

}  // namespace orvendale::cli
