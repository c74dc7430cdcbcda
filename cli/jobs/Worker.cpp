#include "cli/jobs/Worker.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <string>

#include "cli/jobs/WorkerProtocol.h"
#include "cli/measure/InterruptWatch.h"
#include "cli/measure/MeasuredRun.h"
#include "cli/system/ExitStatus.h"
#include "cli/system/MonotonicClock.h"
#include "cli/system/Processors.h"
#include "cli/system/ProgramName.h"
#include "platform/EventPump.h"

namespace orvendale::cli {

namespace {
// Blocks until standard input reaches its end.
void waitForStart() {
  char buffer[64];
  while (read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
  }
}
}  // namespace

int workerMain(int argc, char* argv[], std::optional<int> cpu) {
  // Started as /proc/self/exe, so that it runs this very program even if the file was replaced
  // since; without this, ps, top and pgrep would call it "exe".
  prctl(PR_SET_NAME, kProgramName);
  // Ends with the program that started it, also when that one is killed; the check after it
  // covers a parent that was gone already.
  const pid_t parent = getppid();
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (getppid() != parent) {
    return kFailureExitStatus;
  }
  if (cpu && !pinToCpu(*cpu)) {
    std::fprintf(stderr, "%s worker: cannot run on CPU %d\n", kProgramName, *cpu);
    return kFailureExitStatus;
  }
  platform::preferUnixEventDispatcher();
  QCoreApplication app(argc, argv);
  // Only the program that started it sends it SIGINT, once: a second one ends it at once.
  const InterruptWatch interrupt(0);
  RunSetup setup(interrupt);
  std::fwrite(kReadyLine.data(), 1, kReadyLine.size(), stdout);
  std::fflush(stdout);
  waitForStart();
  const std::int64_t start = monotonicNanoseconds();
  const RunResult run = setup.run();
  const std::string line = workerReportLine(run, setup.lastIterationText(), start) + "\n";
  std::fputs(line.c_str(), stdout);
  return std::fflush(stdout) == 0 ? 0 : kFailureExitStatus;
}

}  // namespace orvendale::cli
