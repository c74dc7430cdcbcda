#pragma once

#include <csignal>

namespace orvendale::cli {

// Notes SIGINT (Ctrl-C) in a flag that requested() reads. The signal handler does nothing else:
// the run's tick handler reads the flag every 100 ms and stops the run at the end of its current
// iteration, so the event pump keeps no descriptor to poll. The handler is installed once
// (SA_RESETHAND): a second Ctrl-C ends the program at once. One watch at a time; the destructor
// restores the previous handler.
class InterruptWatch {
 public:
  InterruptWatch();
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  // Whether SIGINT has arrived since the watch began.
  bool requested() const;

 private:
  struct sigaction previous_ {};
};

}  // namespace orvendale::cli
