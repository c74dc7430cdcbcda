#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

#include "runtime/errors.h"
#include "scripted_host.h"
#include "support/error_code.h"

namespace orvendale {
namespace {

using testing::ScriptedHost;

TEST(Engine, ScoreIsFloorOfOnePointSixTimesIterations) {
  struct Case {
    int iterations;
    const char* label;
  };
  for (const Case c : {Case{1, "Result: 1"}, Case{2, "Result: 3"}, Case{3, "Result: 4"},
                       Case{4, "Result: 6"}, Case{5, "Result: 8"}, Case{10, "Result: 16"}}) {
    ScriptedHost host;
    host.endAfter(c.iterations);
    host.engine.Command1_Click();
    EXPECT_EQ(host.engine.dblLoops(), c.iterations);
    EXPECT_EQ(host.label1, c.label);
    EXPECT_EQ(host.pointers, (std::vector<int>{11, 0}));
  }
}

TEST(Engine, RunStartArmsTimerThenSetsIntervalThenCountsTicksToOneHundred) {
  ScriptedHost host;
  host.onPump = [&](int) { host.deliverTicks(1); };  // one tick per iteration
  host.engine.Command1_Click();

  ASSERT_EQ(host.log.size(), 2u + 100u + 1u);
  EXPECT_EQ(host.log[0], "enable");
  EXPECT_EQ(host.log[1], "interval 100");
  for (int tick = 1; tick <= 100; ++tick) {
    EXPECT_EQ(host.log[static_cast<std::size_t>(tick) + 1], "text2 " + std::to_string(tick));
  }
  EXPECT_EQ(host.log.back(), "disable");  // written by the call that wrote "100"
  EXPECT_EQ(host.engine.dblLoops(), 100);
  EXPECT_EQ(host.label1, "Result: 160");
}

TEST(Engine, SecondRunStartsFromZeroAndFromClearFaultFlags) {
  ScriptedHost host;
  host.endAfter(5);
  host.engine.Command1_Click();
  host.pumps = 0;
  host.endAfter(3);
  std::feraiseexcept(FE_INVALID);  // as a window shown between runs may leave it on X11
  host.engine.Command1_Click();
  EXPECT_EQ(host.engine.dblLoops(), 3);
  EXPECT_EQ(host.engine.intTicks(), 100);
  EXPECT_EQ(host.label1, "Result: 4");
}

TEST(Engine, RunWithTimerAlreadyDisabledDoesExactlyOneIteration) {
  ScriptedHost host;
  host.engine.run();
  EXPECT_EQ(host.engine.dblLoops(), 1);
  EXPECT_EQ(host.pumps, 1);
}

TEST(Engine, EveryIterationEndsWithCosineValueAndTheKnownText) {
  ScriptedHost host;
  host.endAfter(4);
  int reads = 0;
  host.onTimerRead = [&] {
    ++reads;
    EXPECT_EQ(host.engine.dblValue(), std::cos(3.1231));
  };
  host.engine.Command1_Click();
  EXPECT_EQ(reads, 4);
  // The second chain of six encryptions of "-.999829015754428" (see cipher tests).
  EXPECT_EQ(host.engine.lastIterationText().size(), 100u);
  EXPECT_EQ(host.engine.lastIterationText().substr(0, 12), "IPaFzzeqCxS_");
}

TEST(Engine, TickOverflowRaisesAndKeepsTheCount) {
  ScriptedHost host;
  host.deliverTicks(32767);
  EXPECT_EQ(host.engine.intTicks(), 32767);
  EXPECT_EQ(testing::errorCodeOf([&] { host.engine.Timer1_Timer(); }), kOverflow);
  EXPECT_EQ(host.engine.intTicks(), 32767);
  EXPECT_EQ(host.text2, "32767");
}

TEST(Engine, ErrorInRunRestoresPointerAndKeepsLabel) {
  ScriptedHost host;
  host.onPump = [](int pump) {
    if (pump == 3) {
      throw RuntimeError(kOverflow);
    }
  };
  EXPECT_EQ(testing::errorCodeOf([&] { host.engine.Command1_Click(); }), kOverflow);
  EXPECT_EQ(host.pointers, (std::vector<int>{11, 0}));
  EXPECT_EQ(host.label1, "Result: (not run)");
  EXPECT_EQ(host.engine.dblLoops(), 2);
  EXPECT_TRUE(host.timerEnabled);  // left armed: the next run re-arms it from the start

  host.pumps = 0;
  host.endAfter(2);
  host.engine.Command1_Click();
  EXPECT_EQ(host.label1, "Result: 3");
}

TEST(Engine, NestedRunFromThePumpSharesTheCounters) {
  ScriptedHost host;
  bool nested = false;
  host.onPump = [&](int pump) {
    if (pump == 2 && !nested) {
      nested = true;
      host.engine.Command1_Click();  // "Run Benchmark" pressed during the run
    } else if (pump == 5) {
      host.deliverTicks(100);  // ends the inner run after its third iteration
    }
  };
  host.engine.Command1_Click();
  // The inner run counted 3 iterations; the outer one then finished its own current iteration.
  EXPECT_EQ(host.engine.dblLoops(), 4);
  EXPECT_EQ(host.label1, "Result: 6");
  EXPECT_EQ(host.pointers, (std::vector<int>{11, 11, 0, 0}));
}

TEST(Engine, ScoreRaisesOnOverflowInsteadOfShowingInfinity) {
  clearFloatStatus();
  EXPECT_EQ(BenchmarkEngine::score(1e6), 1.6e6);
  EXPECT_EQ(testing::errorCodeOf([] { BenchmarkEngine::score(1e308); }), kFloatingPoint);
}

}  // namespace
}  // namespace orvendale
