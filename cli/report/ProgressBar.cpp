#include "cli/report/ProgressBar.h"

#include <unistd.h>

#include <algorithm>
#include <utility>

namespace orvendale::cli {

ProgressBar::ProgressBar(std::function<void(std::string_view)> write) : write_(std::move(write)) {}

void ProgressBar::start(int number, int count, Clock::time_point now) {
  number_ = number;
  count_ = count;
  start_ = now;
  lastSlot_ = -1;
  lastTicks_ = -1;
}

void ProgressBar::update(std::int16_t ticks, std::int16_t limit, Clock::time_point now) {
  // Time since start() in tenths of a second: one drawing per tenth at most.
  const long long slot = (now - start_) / kMinimumInterval;
  if (slot == lastSlot_ || ticks == lastTicks_) {
    return;
  }
  lastSlot_ = slot;
  lastTicks_ = ticks;
  write_("\r" + render(number_, count_, ticks, limit));
  drawn_ = true;
}

void ProgressBar::clear() {
  if (drawn_) {
    write_("\r\033[K");  // back to the line's start and erase it
    drawn_ = false;
  }
}

std::string ProgressBar::render(int number, int count, std::int16_t ticks, std::int16_t limit) {
  const int done = limit > 0 ? std::clamp(ticks * kWidth / limit, 0, kWidth) : 0;
  // " 47/100", right-aligned so the line keeps its length.
  std::string countText = " " + std::to_string(ticks) + "/" + std::to_string(limit);
  constexpr std::size_t kCountWidth = 8;
  if (countText.size() < kCountWidth) {
    countText.insert(0, kCountWidth - countText.size(), ' ');
  }
  return "run " + std::to_string(number) + " of " + std::to_string(count) + " [" +
         std::string(static_cast<std::size_t>(done), '#') +
         std::string(static_cast<std::size_t>(kWidth - done), '.') + "]" + countText;
}

bool progressWanted() {
  return isatty(STDOUT_FILENO) == 1 && isatty(STDERR_FILENO) == 1;
}

}  // namespace orvendale::cli
