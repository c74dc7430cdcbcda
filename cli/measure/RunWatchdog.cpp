#include "cli/measure/RunWatchdog.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "cli/system/ExitStatus.h"
#include "cli/system/ProgramName.h"

namespace orvendale::cli {

bool SilenceCount::silentTooLong(std::uint32_t handledTicks) {
  silentLooks_ = handledTicks == last_ ? silentLooks_ + 1 : 0;
  last_ = handledTicks;
  return silentLooks_ >= kSilentLooks;
}

RunWatchdog::RunWatchdog(const std::atomic<std::uint32_t>& handledTicks)
    : handledTicks_(handledTicks), thread_([this] { watch(); }) {}

RunWatchdog::~RunWatchdog() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  stopped_.notify_one();
  thread_.join();
}

void RunWatchdog::watch() {
  SilenceCount silence(handledTicks_.load(std::memory_order_relaxed));
  std::unique_lock lock(mutex_);
  while (!stopped_.wait_for(lock, std::chrono::seconds(1), [this] { return stop_; })) {
    if (silence.silentTooLong(handledTicks_.load(std::memory_order_relaxed))) {
      std::fflush(stdout);  // what was reported before this run stands
      std::fprintf(stderr,
                   "%s: the run's timer has not ticked for %d s, so the run cannot end: "
                   "stopped with exit status %d\n",
                   kProgramName, SilenceCount::kSilentLooks, kFailureExitStatus);
      std::_Exit(kFailureExitStatus);
    }
  }
}

}  // namespace orvendale::cli
