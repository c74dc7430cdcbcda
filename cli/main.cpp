// orvendale-cli: the benchmark's run without a window, for scripts and CI.
#include <QCoreApplication>
#include <QDateTime>
#include <QUuid>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "benchmark/WorkIteration.h"
#include "cli/command/Options.h"
#include "cli/command/ReportCommand.h"
#include "cli/command/SessionRuns.h"
#include "cli/command/StoreCommands.h"
#include "cli/compare/Compare.h"
#include "cli/jobs/Worker.h"
#include "cli/jobs/WorkerProtocol.h"
#include "cli/machine/EnvironmentNotes.h"
#include "cli/measure/InterruptWatch.h"
#include "cli/report/Session.h"
#include "cli/system/ExitStatus.h"
#include "cli/system/Processors.h"
#include "cli/system/ProgramName.h"
#include "platform/EventPump.h"
#include "platform/version/VersionRecord.h"

namespace {

using namespace orvendale;
using namespace orvendale::cli;

// Whatever was written to stdout reached it.
bool stdoutWritten() {
  return std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
}

// --compare, --history, --import and --report: commands that make no run. Nothing when
// `options` ask for none of them.
std::optional<int> commandWithoutRuns(const Options& options) {
  int status = 0;
  if (options.compare) {
    status = compareFiles(options.compare->first, options.compare->second, stdout, stderr);
  } else if (options.history) {
    status = showHistory(options, stdout, stderr);
  } else if (!options.importFiles.empty()) {
    status = importFiles(options, stdout, stderr);
  } else if (options.report) {
    status = writeReport(options, stdout, stderr);
  } else {
    return std::nullopt;
  }
  return stdoutWritten() ? status : kFailureExitStatus;
}

// --help, --version and the commands without runs. Nothing when `options` ask for runs.
std::optional<int> answerWithoutRuns(const Options& options) {
  if (options.help) {
    std::fputs(usageText().c_str(), stdout);
    return 0;
  }
  if (const std::optional<int> status = commandWithoutRuns(options)) {
    return status;
  }
  if (options.version) {
    std::printf("%s (%s) %s, workload revision %d\n", kProgramName,
                platform::App.ProductName().c_str(), platform::App.VersionText().c_str(),
                kWorkloadRevision);
    return 0;
  }
  return std::nullopt;
}

// The session as asked, before its first run: the program, the machine, the notes on it (each
// also a warning line) and, with --jobs, how many workers share how many CPUs.
Session startSession(const Options& options) {
  Session session;
  session.id = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
  session.startedAt = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
  session.programName = platform::App.ProductName();
  session.programVersion = platform::App.VersionText();
  session.workloadRevision = kWorkloadRevision;
  session.runsRequested = options.runs;
  session.machine = describeMachine();
  session.environmentNotes = environmentNotes();
  for (const std::string& note : session.environmentNotes) {
    sayLine(stderr, "warning: " + note);
  }
  if (options.jobs > 0 || options.allJobs) {
    const std::size_t cpus = allowedCpus().size();
    session.jobs =
        options.allJobs ? static_cast<int>(std::max<std::size_t>(cpus, 1)) : options.jobs;
    session.workersShareCpus = cpus < static_cast<std::size_t>(session.jobs);
    if (session.workersShareCpus) {
      sayLine(stderr, "warning: " + std::to_string(session.jobs) + " workers on " +
                          std::to_string(cpus) +
                          " CPUs: the workers share processors and are not pinned");
    }
  }
  return session;
}

void warnInterrupted(const Options& options, const Session& session) {
  const auto finished =
      session.jobs > 0 ? std::count_if(session.rounds.begin(), session.rounds.end(),
                                       [](const Round& round) { return round.complete(); })
                       : static_cast<std::ptrdiff_t>(session.summary().value_or(Summary{}).count);
  sayLine(stderr, "interrupted: " + std::to_string(finished) + " of " +
                      std::to_string(options.runs) + (session.jobs > 0 ? " rounds" : " runs") +
                      " finished");
}

// The runs `options` ask for, reported; returns the exit status.
int measureSession(const Options& options, int argc, char* argv[]) {
  // Watches from before the first run until the last line is written, so that a second Ctrl-C
  // that comes just as the runs end does not cut the report short.
  InterruptWatch interrupt;
  platform::preferUnixEventDispatcher();
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(kProgramName);
  Session session = startSession(options);
  runSession(options, session, interrupt);
  if (session.interrupted) {
    warnInterrupted(options, session);
  }
  const bool written = stdoutWritten();
  // After the last run and its report: storing is never part of the measured time.
  storeSession(options, session, stderr);
  interrupt.ignoreFromNowOn();
  if (!written) {
    sayLine(stderr, "could not write the results");
    return kFailureExitStatus;
  }
  return session.exitStatus();
}

int runCli(int argc, char* argv[]) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  if (const std::optional<WorkerCommand> worker = parseWorkerCommand(arguments)) {
    return workerMain(argc, argv, worker->cpu);
  }
  const auto parsed = parseOptions(arguments);
  if (const auto* error = std::get_if<OptionError>(&parsed)) {
    sayLine(stderr, error->message + " (see --help)");
    return kUsageExitStatus;
  }
  const Options& options = std::get<Options>(parsed);
  if (const std::optional<int> status = answerWithoutRuns(options)) {
    return *status;
  }
  if (const auto error = checkJobsBound(options, allowedCpus().size())) {
    sayLine(stderr, error->message);
    return kUsageExitStatus;
  }
  return measureSession(options, argc, argv);
}

}  // namespace

int main(int argc, char* argv[]) {
  try {
    return runCli(argc, argv);
  } catch (const std::exception& error) {
    sayLine(stderr, error.what());
    return kFailureExitStatus;
  }
}
