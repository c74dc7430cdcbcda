// The measured run's watchdog.
#include <gtest/gtest.h>

#include <cstdlib>

#include "cli/measure/InterruptWatch.h"
#include "cli/measure/MeasuredRun.h"

namespace orvendale::cli {
namespace {

// Catches a run that is not watched: with no event loop its timer never ticks, and the run ends
// the program after five seconds, with one line and exit status 1, instead of hanging.
TEST(RunWatchdog, EndsARunWhoseTimerNeverTicks) {
  // The threadsafe style starts the test program again, which a program under qemu-user cannot
  // do (without the kernel's binfmt_misc): there the child is forked alone.
  GTEST_FLAG_SET(death_test_style, std::getenv("ORVENDALE_EMULATOR") ? "fast" : "threadsafe");
  EXPECT_EXIT(
      {
        const InterruptWatch interrupt;
        RunSetup setup(interrupt);
        setup.run();
      },
      ::testing::ExitedWithCode(1), "the run's timer has not ticked for 5 s");
}

}  // namespace
}  // namespace orvendale::cli
