// A run's status, its figures from fake /proc counters, and its seconds from the counts its tick
// handler records.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "benchmark/WorkIteration.h"
#include "cli/run/PerSecond.h"
#include "cli/run/RunFigures.h"
#include "cli/run/RunResult.h"
#include "support/fake_system.h"

namespace orvendale::cli {
namespace {

TEST(ResultOfRun, OnlyAWholeRunWithTheKnownTextIsScored) {
  const std::string known(kKnownIterationText);
  std::string oneCharacterOff = known;
  oneCharacterOff[50] ^= 1;
  struct Case {
    std::int16_t ticks;
    std::string lastText;
    RunStatus status;
  };
  const Case cases[] = {
      {.ticks = 100, .lastText = known, .status = RunStatus::kScored},
      {.ticks = 99, .lastText = known, .status = RunStatus::kInterrupted},
      {.ticks = 100, .lastText = oneCharacterOff, .status = RunStatus::kInvalid},
      {.ticks = 100, .lastText = "", .status = RunStatus::kInvalid},
  };
  for (const Case& c : cases) {
    const RunResult run = resultOfRun(1000, c.ticks, c.lastText, 10'000'000'000);
    EXPECT_EQ(run.status, c.status) << c.ticks << " " << c.lastText;
    EXPECT_EQ(run.score, run.scored() ? 1600 : 0);
  }
}

TEST(RunFigures, FromTwoSamplesAndAFakeProcStat) {
  const testing::FakeRoot root(testing::FakeFiles{
      {.path = "proc/stat", .content = "cpu  4705 356 584 3699 23 0 23 61 0 0\ncpu0 1 2 3 4\n"}});
  EXPECT_EQ(stealTicks(root.roots()), 61);

  // 10 s of wall time; steal counted at 100 ticks per second.
  struct Case {
    std::int64_t cpuNanoseconds;
    std::int64_t stealTicksAfter;
    bool contended;
    std::optional<double> stealMilliseconds;
  };
  const Case cases[] = {
      // Exactly 97 % of the wall time.
      {.cpuNanoseconds = 9'700'000'000,
       .stealTicksAfter = 103,
       .contended = false,
       .stealMilliseconds = 30.0},
      {.cpuNanoseconds = 9'690'000'000,
       .stealTicksAfter = 100,
       .contended = true,
       .stealMilliseconds = 0.0},
      // A counter that went back is no figure.
      {.cpuNanoseconds = 5'000'000'000,
       .stealTicksAfter = 99,
       .contended = true,
       .stealMilliseconds = std::nullopt},
  };
  for (const Case& c : cases) {
    const ProcessSample before{.cpuNanoseconds = 1'000'000'000,
                               .involuntarySwitches = 7,
                               .stealTicks = 100,
                               .systemNanoseconds = 300'000'000};
    const ProcessSample after{.cpuNanoseconds = 1'000'000'000 + c.cpuNanoseconds,
                              .involuntarySwitches = 12,
                              .stealTicks = c.stealTicksAfter,
                              .systemNanoseconds = 350'000'000};
    const RunFigures run = figuresBetween(before, after, 10'000'000'000, 100);
    EXPECT_DOUBLE_EQ(run.cpuShare, static_cast<double>(c.cpuNanoseconds) / 1e10);
    EXPECT_DOUBLE_EQ(run.kernelShare(), 50'000'000 / static_cast<double>(c.cpuNanoseconds));
    EXPECT_EQ(run.contended(), c.contended) << c.cpuNanoseconds;
    EXPECT_EQ(run.stealMilliseconds, c.stealMilliseconds) << c.cpuNanoseconds;
    EXPECT_EQ(run.involuntarySwitches, 5);
  }
}

// A run's seconds from the counts its tick handler records, and whether the run was uneven (the
// boundary rows catch the threshold moved). A run of `seconds` iterations per second makes a
// tenth of each second's iterations per tick.
TEST(PerSecond, SecondsFromRecordedTicksAndTheirSteadiness) {
  struct Case {
    const char* what;
    std::vector<double> seconds;
    std::int16_t ticks;  // handled before the run ended
    std::optional<double> steadiness;
    bool uneven;
  };
  const Case cases[] = {
      {.what = "flat",
       .seconds = {100, 100, 100, 100, 100, 100, 100, 100, 100, 100},
       .ticks = 100,
       .steadiness = 1.0,
       .uneven = false},
      {.what = "rising",
       .seconds = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100},
       .ticks = 100,
       .steadiness = 10 / 55.0,
       .uneven = true},
      {.what = "a second at 60 % of the median",
       .seconds = {100, 100, 60, 100},
       .ticks = 40,
       .steadiness = 0.6,
       .uneven = true},
      {.what = "a second at 75 % of the median",
       .seconds = {100, 100, 75, 100},
       .ticks = 40,
       .steadiness = 0.75,
       .uneven = false},
      {.what = "stopped by Ctrl-C at tick 47",
       .seconds = {100, 100, 100, 80},
       .ticks = 47,
       .steadiness = 0.8,
       .uneven = false},
      {.what = "stopped within the second second",
       .seconds = {100},
       .ticks = 19,
       .steadiness = std::nullopt,
       .uneven = false},
  };
  for (const Case& c : cases) {
    TickRecorder recorder;
    recorder.start();
    double iterations = 0;
    for (std::int16_t tick = 1; tick <= c.ticks; ++tick) {
      const std::size_t second = static_cast<std::size_t>((tick - 1) / kTicksPerSecond);
      iterations += second < c.seconds.size() ? c.seconds[second] / kTicksPerSecond : 0;
      recorder.record(tick, iterations);
    }
    const std::vector<double> seconds = iterationsPerSecond(recorder.counts());
    EXPECT_EQ(seconds, c.seconds) << c.what;
    EXPECT_EQ(steadiness(seconds), c.steadiness) << c.what;
    RunResult result;
    result.secondIterations = seconds;
    EXPECT_EQ(result.uneven(), c.uneven) << c.what;
  }
}

}  // namespace
}  // namespace orvendale::cli
