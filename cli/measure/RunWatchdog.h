#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace orvendale::cli {

// Counts the looks in a row at which a run's count of handled ticks had not moved.
class SilenceCount {
 public:
  // Five looks a second apart: a run's timer ticks ten times a second.
  static constexpr int kSilentLooks = 5;

  explicit SilenceCount(std::uint32_t handledTicks) : last_(handledTicks) {}

  // Takes a look at the count of handled ticks; true once it has stood still for kSilentLooks
  // looks in a row.
  bool silentTooLong(std::uint32_t handledTicks);

 private:
  std::uint32_t last_;
  int silentLooks_ = 0;
};

// Ends the program when the running run's timer stops ticking. The ticks are the only way a run
// ends, so a run whose ticks are no longer handled would otherwise go on for ever. A thread of
// its own looks once a second, never inside the run's work, at the count of handled ticks; when
// SilenceCount says it stood still, it writes one line naming it and ends the program with exit
// status 1. Counting looks rather than reading a clock keeps a process that was stopped (Ctrl-Z)
// and resumed from being taken for a hung one. Watches from construction to destruction.
class RunWatchdog {
 public:
  explicit RunWatchdog(const std::atomic<std::uint32_t>& handledTicks);
  ~RunWatchdog();
  RunWatchdog(const RunWatchdog&) = delete;
  RunWatchdog& operator=(const RunWatchdog&) = delete;

 private:
  void watch();

  const std::atomic<std::uint32_t>& handledTicks_;
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace orvendale::cli
