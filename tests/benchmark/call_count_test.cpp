// Proves that the work loop makes all 45 library calls in every iteration at run time: none is
// folded by the compiler, hoisted out of the loop or cached.
#include <gtest/gtest.h>

#include "libm_call_counter.h"
#include "scripted_host.h"

namespace orvendale {
namespace {

using testing::libmCalls;

TEST(WorkLoopCalls, FortyFiveLibraryCallsPerIteration) {
  for (const int iterations : {1, 7, 250}) {
    testing::ScriptedHost host;
    host.endAfter(iterations);
    const testing::LibmCallCounts before = libmCalls;
    host.engine.Command1_Click();
    EXPECT_EQ(libmCalls.log - before.log, 9L * iterations);
    EXPECT_EQ(libmCalls.tan - before.tan, 9L * iterations);
    EXPECT_EQ(libmCalls.cos - before.cos, 18L * iterations);
    EXPECT_EQ(libmCalls.sin - before.sin, 9L * iterations);
  }
}

}  // namespace
}  // namespace orvendale
