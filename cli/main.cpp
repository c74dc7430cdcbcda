// orvendale-cli: the benchmark's run without a window, for scripts and CI.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "benchmark/WorkIteration.h"
#include "cli/Compare.h"
#include "cli/EnvironmentNotes.h"
#include "cli/InterruptWatch.h"
#include "cli/JsonReport.h"
#include "cli/Options.h"
#include "cli/ProgressBar.h"
#include "cli/RunFigures.h"
#include "cli/Session.h"
#include "cli/TextReport.h"
#include "platform/EventPump.h"
#include "platform/HeadlessRunHost.h"
#include "platform/version/VersionRecord.h"

namespace {

using namespace orvendale;
using namespace orvendale::cli;

constexpr const char* kProgram = "orvendale-cli";

void printLine(std::FILE* stream, const std::string& line) {
  std::fprintf(stream, "%s\n", line.c_str());
}

void warn(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
}

// Runs `options.runs` runs one after another, stopping early at Ctrl-C or at a run that gives no
// valid score.
void runAll(const Options& options, Session& session) {
  // The bar outlives the host whose tick handler draws it.
  std::optional<ProgressBar> progress;
  platform::HeadlessRunHost host;
  const InterruptWatch interrupt;
  if (progressWanted()) {
    progress.emplace(
        [](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); });
  }
  // Ctrl-C is seen at the next tick, and the run ends with its current iteration.
  host.setTickHandler([&](std::int16_t ticks) {
    if (interrupt.requested()) {
      host.stopRun();
    }
    if (progress) {
      progress->update(ticks, BenchmarkEngine::kTickLimit, ProgressBar::Clock::now());
    }
  });

  for (int number = 1; number <= options.runs && !interrupt.requested(); ++number) {
    if (progress) {
      progress->start(number, options.runs, ProgressBar::Clock::now());
    }
    // The processor's figures are taken around the run, never inside its work iterations.
    const ProcessSample before = sampleProcess();
    QElapsedTimer wall;
    wall.start();
    RunResult run;
    try {
      host.runOnce();
      run = resultOfRun(host.engine(), wall.nsecsElapsed());
    } catch (const std::exception& error) {
      run = failedRun(error.what(), wall.nsecsElapsed());
    }
    run.figures =
        figuresBetween(before, sampleProcess(), run.wallNanoseconds, clockTicksPerSecond());
    if (progress) {
      progress->clear();
    }
    session.runs.push_back(run);
    if (!options.json || !run.scored()) {
      printLine(run.scored() ? stdout : stderr,
                runLine(number, options.runs, run, session.workloadRevision));
      std::fflush(stdout);
    }
    if (!run.scored()) {
      break;
    }
  }
  session.interrupted = interrupt.requested();
}

int runCli(int argc, char* argv[]) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
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
    std::printf("%s (%s) %s, workload revision %d\n", kProgram, platform::App.ProductName().c_str(),
                platform::App.VersionText().c_str(), kWorkloadRevision);
    return 0;
  }

  platform::preferUnixEventDispatcher();
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(kProgram);

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

  if (!options.json) {
    std::fputs(machineLines(session.machine).c_str(), stdout);
  }
  runAll(options, session);

  const std::optional<Summary> summary = session.summary();
  if (options.json) {
    std::fputs(jsonReport(session).c_str(), stdout);
  } else if (summary && summary->count >= 2) {
    printLine(stdout, summaryLine(*summary, session.workloadRevision, session.contendedRuns()));
  }
  if (session.interrupted) {
    warn("interrupted: " + std::to_string(summary ? summary->count : 0) + " of " +
         std::to_string(options.runs) + " runs finished");
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
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
