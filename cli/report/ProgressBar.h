#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "benchmark/BenchmarkEngine.h"

namespace orvendale::cli {

// A one-line bar of a run's ticks for a terminal, redrawn in place with a carriage return. It
// draws at most once per tick interval of the run's timer (the ticks come no faster) and leaves
// the line empty when cleared.
class ProgressBar {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr auto kMinimumInterval =
      std::chrono::milliseconds(BenchmarkEngine::kTickIntervalMs);
  static constexpr int kWidth = 40;

  // `write` puts text on the terminal.
  explicit ProgressBar(std::function<void(std::string_view)> write);

  // A new run `number` of `count` starts at `now`, with no tick yet.
  void start(int number, int count, Clock::time_point now);
  // `ticks` of `limit` are counted at `now`; redraws unless it drew within the same tick
  // interval since start() or nothing changed.
  void update(std::int16_t ticks, std::int16_t limit, Clock::time_point now);
  // Erases the bar, if drawn.
  void clear();

  // The bar's text for `ticks` of `limit` in run `number` of `count`, e.g.
  // "run 1 of 3 [########..........]  47/100".
  static std::string render(int number, int count, std::int16_t ticks, std::int16_t limit);

 private:
  std::function<void(std::string_view)> write_;
  int number_ = 0;
  int count_ = 0;
  Clock::time_point start_{};
  long long lastSlot_ = -1;
  std::int16_t lastTicks_ = -1;
  bool drawn_ = false;
};

// Whether to show a progress bar: only when both stdout and stderr are terminals, so that
// nothing of it reaches a file or a pipe.
bool progressWanted();

}  // namespace orvendale::cli
