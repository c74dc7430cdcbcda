// The measured run's watchdog.
#include <gtest/gtest.h>

#include "cli/measure/InterruptWatch.h"
#include "cli/measure/MeasuredRun.h"

namespace orvendale::cli {
namespace {

// Catches a run that is not watched: with no event loop its timer never ticks, and the run ends
// the program after five seconds, with one line and exit status 1, instead of hanging.
TEST(RunWatchdog, EndsARunWhoseTimerNeverTicks) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
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
