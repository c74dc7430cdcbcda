#include "cli/InterruptWatch.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>
#include <utility>

namespace orvendale::cli {

namespace {
std::atomic<int> g_writeEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "read from a signal handler");

extern "C" void onSigint(int) {
  const int savedErrno = errno;
  const int fd = g_writeEnd.load(std::memory_order_relaxed);
  if (fd >= 0) {
    const char byte = 1;
    // A full pipe already holds a pending byte, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
  }
  errno = savedErrno;
}
}  // namespace

InterruptWatch::InterruptWatch(std::function<void()> onInterrupt)
    : onInterrupt_(std::move(onInterrupt)) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
    throw std::system_error(errno, std::generic_category(), "pipe for SIGINT");
  }
  readEnd_ = ends[0];
  writeEnd_ = ends[1];
  g_writeEnd.store(writeEnd_);

  notifier_ = std::make_unique<QSocketNotifier>(readEnd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
    if (drain()) {
      requested_ = true;
      if (onInterrupt_) {
        onInterrupt_();
      }
    }
  });

  struct sigaction action {};
  action.sa_handler = onSigint;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  sigaction(SIGINT, &action, &previous_);
}

InterruptWatch::~InterruptWatch() {
  sigaction(SIGINT, &previous_, nullptr);
  g_writeEnd.store(-1);
  notifier_.reset();
  close(readEnd_);
  close(writeEnd_);
}

bool InterruptWatch::requested() {
  if (drain()) {
    requested_ = true;
  }
  return requested_;
}

bool InterruptWatch::drain() {
  bool any = false;
  char buffer[16];
  ssize_t count = 0;
  while ((count = read(readEnd_, buffer, sizeof buffer)) > 0 || (count < 0 && errno == EINTR)) {
    any = any || count > 0;
  }
  return any;
}

}  // namespace orvendale::cli
