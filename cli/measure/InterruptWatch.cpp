#include "cli/measure/InterruptWatch.h"

#include <atomic>
#include <cerrno>

#include "cli/system/MonotonicClock.h"

namespace orvendale::cli {

namespace {
std::atomic<bool> g_requested{false};
std::atomic<std::int64_t> g_firstAt{0};
std::atomic<std::int64_t> g_grace{0};
static_assert(std::atomic<bool>::is_always_lock_free, "written from a signal handler");
static_assert(std::atomic<std::int64_t>::is_always_lock_free, "written from a signal handler");

extern "C" void onSigint(int) {
  const int savedErrno = errno;
  const std::int64_t now = monotonicNanoseconds();
  if (!g_requested.exchange(true, std::memory_order_relaxed)) {
    g_firstAt.store(now, std::memory_order_relaxed);
  } else if (now - g_firstAt.load(std::memory_order_relaxed) >=
             g_grace.load(std::memory_order_relaxed)) {
    // Blocked while this handler runs, the raised signal ends the program once it returns.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigaction(SIGINT, &fallback, nullptr);
    raise(SIGINT);
  }
  errno = savedErrno;
}
}  // namespace

InterruptWatch::InterruptWatch(std::int64_t graceNanoseconds) {
  g_requested.store(false);
  g_grace.store(graceNanoseconds);
  struct sigaction action {};
  action.sa_handler = onSigint;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, &previous_);
}

InterruptWatch::~InterruptWatch() {
  sigaction(SIGINT, &previous_, nullptr);
}

void InterruptWatch::ignoreFromNowOn() {
  previous_ = {};
  previous_.sa_handler = SIG_IGN;
  sigaction(SIGINT, &previous_, nullptr);
}

bool InterruptWatch::requested() const {
  return g_requested.load(std::memory_order_relaxed);
}

}  // namespace orvendale::cli
