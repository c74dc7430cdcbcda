#pragma once

#include <csignal>
#include <cstdint>

namespace orvendale::cli {

// Notes SIGINT (Ctrl-C) in a flag that requested() reads. The signal handler does little else:
// the run's tick handler reads the flag every 100 ms and stops the run at the end of its current
// iteration, so the event pump keeps no descriptor to poll. A later SIGINT ends the program at
// once, unless it comes within `graceNanoseconds` of the first: a key pressed twice in quick
// succession is one request, and the runs that finish meanwhile are kept. One watch at a time;
// the destructor restores the previous handler.
class InterruptWatch {
 public:
  // A user at a terminal: a second Ctrl-C within a second of the first counts as the same one.
  static constexpr std::int64_t kTerminalGraceNanoseconds = 1'000'000'000;

  explicit InterruptWatch(std::int64_t graceNanoseconds = kTerminalGraceNanoseconds);
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  // Whether SIGINT has arrived since the watch began.
  bool requested() const;

  // Ignores SIGINT from now on, also after the watch: once the report is written a Ctrl-C could
  // only cut the program's exit short and turn its exit status into death by a signal.
  void ignoreFromNowOn();

 private:
  struct sigaction previous_ {};
};

}  // namespace orvendale::cli
