#include "cli/InterruptWatch.h"

#include <atomic>

namespace orvendale::cli {

namespace {
std::atomic<bool> g_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "written from a signal handler");

extern "C" void onSigint(int) {
  g_requested.store(true, std::memory_order_relaxed);
}
}  // namespace

InterruptWatch::InterruptWatch() {
  g_requested.store(false);
  struct sigaction action {};
  action.sa_handler = onSigint;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  sigaction(SIGINT, &action, &previous_);
}

InterruptWatch::~InterruptWatch() {
  sigaction(SIGINT, &previous_, nullptr);
}

bool InterruptWatch::requested() const {
  return g_requested.load(std::memory_order_relaxed);
}

}  // namespace orvendale::cli
