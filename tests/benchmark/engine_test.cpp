// The run's control and work loop over a host without a window. The program's log, tan, cos
// and sin are replaced here by counting versions, to prove that every iteration makes all 45
// library calls at run time: none is folded by the compiler, hoisted or cached.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

#include "benchmark/WorkIteration.h"
#include "runtime/errors.h"
#include "support/runtime_probes.h"
#include "support/scripted_host.h"

namespace {
struct {
  long log;
  long tan;
  long cos;
  long sin;
} g_calls;
}  // namespace

#define ORVENDALE_COUNTED(name)                                                             \
  extern "C" double name(double x) {                                                        \
    static const auto real = reinterpret_cast<double (*)(double)>(dlsym(RTLD_NEXT, #name)); \
    ++g_calls.name;                                                                         \
    return real(x);                                                                         \
  }
ORVENDALE_COUNTED(log)
ORVENDALE_COUNTED(tan)
ORVENDALE_COUNTED(cos)
ORVENDALE_COUNTED(sin)

namespace orvendale {
namespace {

using testing::errorCodeOf;
using testing::ScriptedHost;

TEST(Engine, ScoreIsFloorOfOnePointSixTimesIterations) {
  const struct {
    int iterations;
    int score;
  } cases[] = {
      {.iterations = 1, .score = 1}, {.iterations = 2, .score = 3},   {.iterations = 3, .score = 4},
      {.iterations = 5, .score = 8}, {.iterations = 10, .score = 16},
  };
  for (const auto& run : cases) {
    ScriptedHost host;
    host.endAfter(run.iterations);
    host.engine.Command1_Click();
    EXPECT_EQ(host.label1, "Result: " + std::to_string(run.score));
    EXPECT_EQ(host.pointers, (std::vector<int>{11, 0})) << "busy pointer during the run only";
  }
  EXPECT_EQ(errorCodeOf([] { BenchmarkEngine::score(1e308); }), kFloatingPoint)
      << "an infinite score is shown";
}

TEST(Engine, EveryIterationMakesItsFortyFiveCallsAndEndsWithTheKnownValues) {
  const double cosine = std::cos(3.1231);
  for (const int iterations : {1, 250}) {
    ScriptedHost host;
    host.endAfter(iterations);
    host.onTimerRead = [&] { EXPECT_EQ(host.engine.dblValue(), cosine); };
    const auto before = g_calls;
    host.engine.Command1_Click();
    EXPECT_EQ(g_calls.log - before.log, 9L * iterations);
    EXPECT_EQ(g_calls.tan - before.tan, 9L * iterations);
    EXPECT_EQ(g_calls.cos - before.cos, 18L * iterations);
    EXPECT_EQ(g_calls.sin - before.sin, 9L * iterations);
    // The second chain of six encryptions of the cosine's text: the workload's known text.
    EXPECT_EQ(host.engine.lastIterationText(), kKnownIterationText);
  }
}

TEST(Engine, RunArmsTimerThenSetsIntervalThenCountsTicksToOneHundred) {
  ScriptedHost host;
  host.onPump = [&](int) { host.deliverTicks(1); };  // one tick per iteration
  host.engine.Command1_Click();
  std::vector<std::string> expected{"enable", "interval 100"};
  for (int tick = 1; tick <= 100; ++tick) {
    expected.push_back("text2 " + std::to_string(tick));
  }
  expected.push_back("disable");  // by the tick that wrote "100"
  EXPECT_EQ(host.log, expected);
}

// Catches the tick counter wrapping to -32768 instead of raising its overflow.
TEST(Engine, TickCountPastItsRangeRaisesOverflow) {
  ScriptedHost host;
  host.deliverTicks(32767);
  EXPECT_EQ(errorCodeOf([&host] { host.deliverTicks(1); }), kOverflow);
}

TEST(Engine, SecondRunStartsFromZeroAndFromClearFaultFlags) {
  ScriptedHost host;
  host.endAfter(5);
  host.engine.Command1_Click();
  host.pumps = 0;
  host.endAfter(3);
  std::feraiseexcept(FE_INVALID);  // as a window shown between runs may leave it on X11
  host.engine.Command1_Click();
  EXPECT_EQ(host.engine.intTicks(), 100);
  EXPECT_EQ(host.label1, "Result: 4");
}

TEST(Engine, NestedRunFromThePumpSharesTheCounters) {
  ScriptedHost host;
  host.onPump = [&](int pump) {
    if (pump == 2) {
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

}  // namespace
}  // namespace orvendale
