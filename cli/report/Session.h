#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/jobs/Round.h"
#include "cli/machine/Machine.h"
#include "cli/run/RunResult.h"
#include "cli/stats/Statistics.h"

namespace orvendale::cli {

// Everything one invocation reports: what was asked, what the runs gave and what was noticed
// about the machine.
struct Session {
  std::string id;         // a new UUID for each session: what tells a stored session from others
  std::string startedAt;  // UTC, ISO 8601 to the second: "2026-12-08T22:41:05Z"
  std::string programName;
  std::string programVersion;
  int workloadRevision = 0;
  int runsRequested = 0;
  bool interrupted = false;
  std::vector<RunResult> runs;  // with --jobs, the rounds' solo runs
  int jobs = 0;                 // workers per --jobs round; 0 without --jobs
  bool workersShareCpus = false;
  std::vector<Round> rounds;
  std::vector<std::string> environmentNotes;
  Machine machine;

  // The summary of the scored runs' scores; nothing when no run was scored.
  std::optional<Summary> summary() const;
  // How many scored runs had less than kUncontendedCpuShare of a processor.
  int contendedRuns() const;
  // How many scored runs were slowed part-way (RunResult::uneven).
  int unevenRuns() const;
  // How many scored runs were held back by heat, a lowered clock or a CPU quota.
  int throttledRuns() const;
  // 0 when every requested run was scored, 1 when a run (a worker's too) was invalid or failed,
  // 130 when interrupted (a failure takes precedence).
  int exitStatus() const;
};

}  // namespace orvendale::cli
