#include "cli/jobs/WorkerProcesses.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <string>
#include <system_error>

#include "cli/jobs/WorkerProtocol.h"

extern char** environ;

namespace orvendale::cli {

namespace {

// A worker process and the end of the pipe it writes to. The destructor kills and reaps one
// that is still there, so that no worker outlives a round, whatever ends it.
struct Child {
  pid_t pid = -1;
  int output = -1;
  std::string received;
  int status = 0;

  Child() = default;
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    if (output >= 0) {
      close(output);
    }
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
  bool ready() const { return saidReady(received); }
};

// Starts one worker with the start pipe's read end as its stdin; false when it cannot.
bool spawnWorker(Child& child, int startReadEnd, std::optional<int> cpu, std::string& error) {
  int output[2];
  if (pipe2(output, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, startReadEnd, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  // A process group of its own: a terminal's Ctrl-C reaches this program alone, which passes it
  // on once (a second SIGINT would end a worker at once).
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  std::array<std::string, 3> commandLine = workerCommandLine(cpu);
  char* argv[] = {commandLine[0].data(), commandLine[1].data(), commandLine[2].data(), nullptr};
  const int spawned =
      posix_spawn(&child.pid, "/proc/self/exe", &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(output[1]);
  if (spawned != 0) {
    close(output[0]);
    child.pid = -1;
    error = std::strerror(spawned);
    return false;
  }
  child.output = output[0];
  return true;
}

// Reads what the children write until each has written `until` or closed its pipe. Passes
// Ctrl-C on to them once.
void readChildren(std::vector<Child>& children, bool (*until)(const Child&),
                  const InterruptWatch& interrupt, bool& interruptPassedOn) {
  for (;;) {
    std::vector<pollfd> watched;
    std::vector<Child*> owners;
    for (Child& child : children) {
      if (child.output >= 0 && !(until && until(child))) {
        watched.push_back({child.output, POLLIN, 0});
        owners.push_back(&child);
      }
    }
    if (watched.empty()) {
      return;
    }
    if (interrupt.requested() && !interruptPassedOn) {
      interruptPassedOn = true;
      for (const Child& child : children) {
        if (child.pid > 0) {
          kill(child.pid, SIGINT);
        }
      }
    }
    if (poll(watched.data(), watched.size(), 100) <= 0) {
      continue;  // a tenth of a second passed, or a signal came
    }
    for (std::size_t i = 0; i < watched.size(); ++i) {
      if (watched[i].revents == 0) {
        continue;
      }
      char buffer[4096];
      const ssize_t count = read(watched[i].fd, buffer, sizeof buffer);
      if (count > 0) {
        owners[i]->received.append(buffer, static_cast<std::size_t>(count));
      } else if (count == 0 || errno != EINTR) {
        close(owners[i]->output);
        owners[i]->output = -1;
      }
    }
  }
}

std::string howItEnded(int status) {
  if (WIFSIGNALED(status)) {
    return "killed by signal " + std::to_string(WTERMSIG(status)) + " (" +
           strsignal(WTERMSIG(status)) + ")";
  }
  return "exit status " + std::to_string(WEXITSTATUS(status));
}

// Reaps a worker that was started and takes its report, or says how it ended without one.
void collectRun(Child& child, WorkerRun& worker) {
  if (child.pid <= 0) {
    return;
  }
  waitpid(child.pid, &child.status, 0);
  child.pid = -1;
  const std::optional<WorkerReport> report =
      parseWorkerReportLine(reportAfterReady(child.received));
  if (report) {
    worker.run = report->run;
    worker.startNanoseconds = report->startNanoseconds;
  } else {
    worker.run = failedRun("ended without a valid result: " + howItEnded(child.status), 0);
  }
}
}  // namespace

std::vector<WorkerRun> runWorkers(int count, std::span<const int> cpus,
                                  const InterruptWatch& interrupt) {
  const bool pinned = cpus.size() >= static_cast<std::size_t>(count);
  int start[2];
  if (pipe2(start, O_CLOEXEC) != 0) {
    throw std::system_error(errno, std::generic_category(), "pipe for the workers' start");
  }
  std::vector<Child> children(static_cast<std::size_t>(count));
  std::vector<WorkerRun> runs(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < runs.size(); ++i) {
    runs[i].number = static_cast<int>(i + 1);
    if (pinned) {
      runs[i].cpu = cpus[i];
    }
    std::string error;
    if (!spawnWorker(children[i], start[0], runs[i].cpu, error)) {
      runs[i].run = failedRun("could not start: " + error, 0);
    }
  }
  close(start[0]);
  bool interruptPassedOn = false;
  readChildren(
      children, [](const Child& child) { return child.ready(); }, interrupt, interruptPassedOn);
  close(start[1]);  // every worker's stdin ends at once: they all begin
  readChildren(children, nullptr, interrupt, interruptPassedOn);

  for (std::size_t i = 0; i < runs.size(); ++i) {
    collectRun(children[i], runs[i]);
  }
  return runs;
}

}  // namespace orvendale::cli
