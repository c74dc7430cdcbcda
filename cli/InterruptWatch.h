#pragma once

#include <QSocketNotifier>
#include <csignal>
#include <functional>
#include <memory>

namespace orvendale::cli {

// Turns SIGINT (Ctrl-C) into an event of Qt's event loop. The signal handler only writes a byte
// to a pipe; a socket notifier on the pipe's other end calls `onInterrupt` when the event pump
// next runs. The handler is installed once (SA_RESETHAND): a second Ctrl-C ends the program at
// once. One watch at a time; the destructor restores the previous handler.
class InterruptWatch {
 public:
  explicit InterruptWatch(std::function<void()> onInterrupt);
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  // Whether SIGINT has arrived, including a signal whose event the pump has not handled yet
  // (between runs, when no pump runs).
  bool requested();

 private:
  // Empties the pipe; true if it held anything.
  bool drain();

  int readEnd_ = -1;
  int writeEnd_ = -1;
  struct sigaction previous_ {};
  bool requested_ = false;
  std::function<void()> onInterrupt_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace orvendale::cli
