// orvendale-cli: the benchmark's run without a window, for scripts and CI.
#include <QCoreApplication>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "benchmark/WorkIteration.h"
#include "cli/compare/Compare.h"
#include "cli/system/EnvironmentNotes.h"
#include "cli/measure/InterruptWatch.h"
#include "cli/report/JsonReport.h"
#include "cli/measure/MeasuredRun.h"
#include "cli/jobs/Round.h"
#include "cli/Options.h"
#include "cli/jobs/WorkerProcesses.h"
#include "cli/system/ExitStatus.h"
#include "cli/system/Processors.h"
#include "cli/system/ProgramName.h"
#include "cli/report/ProgressBar.h"
#include "cli/run/RunFigures.h"
#include "cli/report/Session.h"
#include "cli/report/TextReport.h"
#include "cli/jobs/Worker.h"
#include "cli/jobs/WorkerProtocol.h"
#include "platform/EventPump.h"
#include "platform/HeadlessRunHost.h"
#include "platform/version/VersionRecord.h"

namespace {

using namespace orvendale;
using namespace orvendale::cli;

void printLine(std::FILE* stream, const std::string& line) {
  std::fprintf(stream, "%s\n", line.c_str());
}

void warn(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kProgramName, message.c_str());
}

// Runs `options.runs` runs one after another, stopping early at Ctrl-C or at a run that gives no
// valid score.
void runAll(const Options& options, Session& session, const InterruptWatch& interrupt) {
  // The bar outlives the host whose tick handler draws it.
  std::optional<ProgressBar> progress;
  platform::HeadlessRunHost host;
  if (progressWanted()) {
    progress.emplace(
        [](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); });
  }
  TickRecorder recorder;
  watchTicks(host, recorder, interrupt, [&progress](std::int16_t ticks) {
    if (progress) {
      progress->update(ticks, BenchmarkEngine::kTickLimit, ProgressBar::Clock::now());
    }
  });

  for (int number = 1; number <= options.runs && !interrupt.requested(); ++number) {
    if (progress) {
      progress->start(number, options.runs, ProgressBar::Clock::now());
    }
    const RunResult run = measuredRun(host, recorder);
    if (progress) {
      progress->clear();
    }
    session.runs.push_back(run);
    if (!options.json || !run.scored()) {
      printLine(run.scored() ? stdout : stderr,
                runLine("run " + std::to_string(number) + " of " + std::to_string(options.runs),
                        run, session.workloadRevision));
      std::fflush(stdout);
    }
    if (!run.scored()) {
      break;
    }
  }
  session.interrupted = interrupt.requested();
}

// --jobs: rounds of a solo run in this process, then session.jobs workers' runs at once.
void runRounds(const Options& options, Session& session, const InterruptWatch& interrupt) {
  platform::HeadlessRunHost host;
  TickRecorder recorder;
  watchTicks(host, recorder, interrupt);
  const std::vector<int> cpus = allowedCpus();
  for (int number = 1; number <= options.runs && !interrupt.requested(); ++number) {
    const std::string round =
        "round " + std::to_string(number) + " of " + std::to_string(options.runs);
    Round result;
    result.solo = measuredRun(host, recorder);
    session.runs.push_back(result.solo);
    if (!options.json || !result.solo.scored()) {
      printLine(result.solo.scored() ? stdout : stderr,
                runLine(round + ", solo", result.solo, session.workloadRevision));
    }
    if (result.solo.scored() && !interrupt.requested()) {
      result.workers = runWorkers(session.jobs, cpus, interrupt);
    }
    for (const WorkerRun& worker : result.workers) {
      if (!options.json || !worker.run.scored()) {
        const std::string where =
            worker.cpu ? " on CPU " + std::to_string(*worker.cpu) : std::string(" (not pinned)");
        printLine(worker.run.scored() ? stdout : stderr,
                  runLine(round + ", worker " + std::to_string(worker.number) + where, worker.run,
                          session.workloadRevision));
      }
    }
    if (!options.json && !result.workers.empty()) {
      printLine(stdout, roundLine(round, result));
    }
    std::fflush(stdout);
    session.rounds.push_back(std::move(result));
    if (!session.rounds.back().complete()) {
      break;
    }
  }
  session.interrupted = interrupt.requested();
}

int runCli(int argc, char* argv[]) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  if (const std::optional<WorkerCommand> worker = parseWorkerCommand(arguments)) {
    return workerMain(argc, argv, worker->cpu);
  }
  const auto parsed = parseOptions(arguments);
  if (const auto* error = std::get_if<OptionError>(&parsed)) {
    warn(error->message + " (see --help)");
    return kUsageExitStatus;
  }
  const Options& options = std::get<Options>(parsed);
  if (options.help) {
    std::fputs(usageText().c_str(), stdout);
    return 0;
  }
  if (options.compare) {
    const int status =
        compareFiles(options.compare->first, options.compare->second, stdout, stderr);
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? status : kFailureExitStatus;
  }
  if (options.version) {
    std::printf("%s (%s) %s, workload revision %d\n", kProgramName,
                platform::App.ProductName().c_str(), platform::App.VersionText().c_str(),
                kWorkloadRevision);
    return 0;
  }

  if (const auto error = checkJobsBound(options, allowedCpus().size())) {
    warn(error->message);
    return kUsageExitStatus;
  }

  // Watches from before the first run until the last line is written, so that a second Ctrl-C
  // that comes just as the runs end does not cut the report short.
  InterruptWatch interrupt;
  platform::preferUnixEventDispatcher();
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(kProgramName);

  Session session;
  session.programName = platform::App.ProductName();
  session.programVersion = platform::App.VersionText();
  session.workloadRevision = kWorkloadRevision;
  session.runsRequested = options.runs;
  session.machine = describeMachine();
  session.environmentNotes = environmentNotes();
  for (const std::string& note : session.environmentNotes) {
    warn("warning: " + note);
  }

  if (options.jobs > 0 || options.allJobs) {
    const std::size_t cpus = allowedCpus().size();
    session.jobs =
        options.allJobs ? static_cast<int>(std::max<std::size_t>(cpus, 1)) : options.jobs;
    session.workersShareCpus = cpus < static_cast<std::size_t>(session.jobs);
    if (session.workersShareCpus) {
      warn("warning: " + std::to_string(session.jobs) + " workers on " + std::to_string(cpus) +
           " CPUs: the workers share processors and are not pinned");
    }
  }
  if (!options.json) {
    std::fputs(machineLines(session.machine).c_str(), stdout);
  }
  if (session.jobs > 0) {
    runRounds(options, session, interrupt);
  } else {
    runAll(options, session, interrupt);
  }

  const std::optional<Summary> summary = session.summary();
  if (options.json) {
    std::fputs(jsonReport(session).c_str(), stdout);
  } else if (session.jobs > 0) {
    std::fputs(
        roundsSummaryLines(summarizeRounds(session.rounds), session.workloadRevision).c_str(),
        stdout);
  } else if (summary && summary->count >= 2) {
    printLine(stdout, summaryLine(*summary, session.workloadRevision, session.contendedRuns(),
                                  session.unevenRuns()));
  }
  if (session.interrupted) {
    const auto finished = session.jobs > 0
                              ? std::count_if(session.rounds.begin(), session.rounds.end(),
                                              [](const Round& round) { return round.complete(); })
                              : static_cast<std::ptrdiff_t>(summary ? summary->count : 0);
    warn("interrupted: " + std::to_string(finished) + " of " + std::to_string(options.runs) +
         (session.jobs > 0 ? " rounds" : " runs") + " finished");
  }
  const bool written = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
  interrupt.ignoreFromNowOn();
  if (!written) {
    warn("could not write the results");
    return kFailureExitStatus;
  }
  return session.exitStatus();
}

}  // namespace

int main(int argc, char* argv[]) {
  try {
    return runCli(argc, argv);
  } catch (const std::exception& error) {
    warn(error.what());
    return kFailureExitStatus;
  }
}
