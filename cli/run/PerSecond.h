#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "benchmark/BenchmarkEngine.h"

namespace orvendale::cli {

// The ticks of a run's timer in one second.
inline constexpr int kTicksPerSecond = 1000 / BenchmarkEngine::kTickIntervalMs;
static_assert(1000 % BenchmarkEngine::kTickIntervalMs == 0, "a second is whole ticks");

// A run whose slowest second did less than this share of its median second's work was slowed
// part-way (by another program, or a processor clocked down). Chosen from idle and disturbed
// runs on the development machine: docs/PERFORMANCE.md.
inline constexpr double kUnevenBelow = 0.75;

// The completed iterations at each handled tick of one run, written by the tick handler into
// storage that exists before the run: recording costs the work iterations nothing. It also counts
// every handled tick for a watchdog on another thread (RunWatchdog.h).
class TickRecorder {
 public:
  void start() { ticks_ = 0; }
  // At the handled tick `tick` (1 to 100), with `iterations` completed.
  void record(std::int16_t tick, double iterations) {
    // One writer: a plain load and store, no locked instruction.
    handled_.store(handled_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    if (tick >= 1 && tick <= BenchmarkEngine::kTickLimit) {
      counts_[static_cast<std::size_t>(tick - 1)] = iterations;
      ticks_ = static_cast<std::size_t>(tick);
    }
  }
  std::span<const double> counts() const { return {counts_.data(), ticks_}; }
  // Every tick handled since the recorder was made.
  const std::atomic<std::uint32_t>& handledTicks() const { return handled_; }

 private:
  std::array<double, BenchmarkEngine::kTickLimit> counts_{};
  std::size_t ticks_ = 0;
  std::atomic<std::uint32_t> handled_{0};
};

// The iterations of each whole second of the run, from its counts at ticks 1, 2, ...: second k
// runs from tick 10(k-1) (the run's start for k = 1) to tick 10k.
std::vector<double> iterationsPerSecond(std::span<const double> tickCounts);

// The slowest second's iterations over the median second's; nothing for fewer than two seconds.
std::optional<double> steadiness(std::span<const double> seconds);

}  // namespace orvendale::cli
