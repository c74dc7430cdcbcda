#pragma once

#include <cstdint>
#include <ctime>

namespace orvendale::cli {

// The monotonic clock in nanoseconds: comparable across processes (a round's start skew) and
// safe to read in a signal handler (clock_gettime is async-signal-safe).
inline std::int64_t monotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

}  // namespace orvendale::cli
