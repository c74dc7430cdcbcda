#include "cli/command/SessionRuns.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/jobs/WorkerProcesses.h"
#include "cli/measure/MeasuredRun.h"
#include "cli/report/JsonReport.h"
#include "cli/report/ProgressBar.h"
#include "cli/report/TextReport.h"
#include "cli/system/Processors.h"

namespace orvendale::cli {

namespace {
void printLine(std::FILE* stream, const std::string& line) {
  std::fprintf(stream, "%s\n", line.c_str());
}

// A run's line goes to stdout when it was scored and to stderr otherwise; with --json only the
// runs without a score have a line.
void printRun(const Options& options, const std::string& label, const RunResult& run,
              int workloadRevision) {
  if (!options.json || !run.scored()) {
    printLine(run.scored() ? stdout : stderr, runLine(label, run, workloadRevision));
  }
}

std::string ofCount(const std::string& what, int number, int count) {
  return what + " " + std::to_string(number) + " of " + std::to_string(count);
}

void runAll(const Options& options, Session& session, const InterruptWatch& interrupt) {
  // The bar outlives the setup whose tick handler draws it.
  std::optional<ProgressBar> progress;
  if (progressWanted()) {
    progress.emplace(
        [](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); });
  }
  RunSetup setup(interrupt, [&progress](std::int16_t ticks) {
    if (progress) {
      progress->update(ticks, BenchmarkEngine::kTickLimit, ProgressBar::Clock::now());
    }
  });
  for (int number = 1; number <= options.runs && !interrupt.requested(); ++number) {
    if (progress) {
      progress->start(number, options.runs, ProgressBar::Clock::now());
    }
    const RunResult run = setup.run();
    if (progress) {
      progress->clear();
    }
    session.runs.push_back(run);
    printRun(options, ofCount("run", number, options.runs), run, session.workloadRevision);
    std::fflush(stdout);
    if (!run.scored()) {
      break;
    }
  }
}

void printWorkers(const Options& options, const std::string& round, const Round& result,
                  int workloadRevision) {
  for (const WorkerRun& worker : result.workers) {
    const std::string where =
        worker.cpu ? " on CPU " + std::to_string(*worker.cpu) : std::string(" (not pinned)");
    printRun(options, round + ", worker " + std::to_string(worker.number) + where, worker.run,
             workloadRevision);
  }
  if (!options.json && !result.workers.empty()) {
    printLine(stdout, roundLine(round, result));
  }
}

void runRounds(const Options& options, Session& session, const InterruptWatch& interrupt) {
  RunSetup setup(interrupt);
  const std::vector<int> cpus = allowedCpus();
  for (int number = 1; number <= options.runs && !interrupt.requested(); ++number) {
    const std::string round = ofCount("round", number, options.runs);
    Round result;
    result.solo = setup.run();
    session.runs.push_back(result.solo);
    printRun(options, round + ", solo", result.solo, session.workloadRevision);
    if (result.solo.scored() && !interrupt.requested()) {
      result.workers = runWorkers(session.jobs, cpus, interrupt);
    }
    printWorkers(options, round, result, session.workloadRevision);
    std::fflush(stdout);
    session.rounds.push_back(std::move(result));
    if (!session.rounds.back().complete()) {
      break;
    }
  }
}

void printSummary(const Options& options, const Session& session) {
  const std::optional<Summary> summary = session.summary();
  if (options.json) {
    std::fputs(jsonReport(session).c_str(), stdout);
  } else if (session.jobs > 0) {
    std::fputs(
        roundsSummaryLines(summarizeRounds(session.rounds), session.workloadRevision).c_str(),
        stdout);
  } else if (summary && summary->count >= 2) {
    printLine(stdout, summaryLine(*summary, session.workloadRevision, session.contendedRuns(),
                                  session.unevenRuns(), session.throttledRuns()));
  }
}
}  // namespace

void runSession(const Options& options, Session& session, const InterruptWatch& interrupt) {
  if (!options.json) {
    std::fputs(machineLines(session).c_str(), stdout);
  }
  if (session.jobs > 0) {
    runRounds(options, session, interrupt);
  } else {
    runAll(options, session, interrupt);
  }
  session.interrupted = interrupt.requested();
  printSummary(options, session);
}

}  // namespace orvendale::cli
