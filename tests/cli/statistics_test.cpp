// Summaries of score series and the rank test's verdicts over hand-made score sets whose U
// statistics and exact p-values are known (counted over every split of the pooled scores).
#include <gtest/gtest.h>

#include <vector>

#include "cli/measure/MeasuredRun.h"
#include "cli/stats/MannWhitney.h"
#include "cli/run/RunResult.h"
#include "cli/measure/RunWatchdog.h"
#include "cli/stats/Statistics.h"
#include "cli/report/Sparkline.h"
#include "cli/run/PerSecond.h"

namespace orvendale::cli {
namespace {

TEST(Summarize, KnownSeries) {
  struct Case {
    std::vector<double> values;
    double median, minimum, maximum;
    std::optional<double> cvPercent;
  };
  const Case cases[] = {
      {{42}, 42, 42, 42, std::nullopt},  // one value has no spread to speak of
      // Sample standard deviation sqrt(32 / 7) over the mean 5; the order does not matter.
      {{9, 2, 4, 5, 4, 7, 4, 5}, 4.5, 2, 9, 42.76179870598791},
      {{7, 7, 7}, 7, 7, 7, 0.0},
      {{0, 0}, 0, 0, 0, std::nullopt},  // a zero mean leaves the ratio undefined
  };
  for (const Case& c : cases) {
    const std::optional<Summary> summary = summarize(c.values);
    ASSERT_TRUE(summary.has_value());
    EXPECT_EQ(summary->count, c.values.size());
    EXPECT_EQ(summary->median, c.median);
    EXPECT_EQ(summary->minimum, c.minimum);
    EXPECT_EQ(summary->maximum, c.maximum);
    EXPECT_EQ(summary->cvPercent.has_value(), c.cvPercent.has_value()) << c.median;
    EXPECT_NEAR(summary->cvPercent.value_or(0), c.cvPercent.value_or(0), 1e-9);
  }
  EXPECT_FALSE(summarize({}).has_value());
}

TEST(RankTest, KnownStatisticsAndVerdicts) {
  struct Case {
    std::vector<double> older, newer;
    double u, p, smallestP;
    Verdict verdict;
  };
  const Case cases[] = {
      {{1, 2, 3, 4}, {5, 6, 7, 8}, 0, 2.0 / 70, 2.0 / 70, Verdict::kSignificant},
      {{1, 2, 3}, {4, 5, 6}, 0, 0.1, 0.1, Verdict::kTooFewRuns},
      // Just above the 5 % level: a one-sided p would call it significant.
      {{1, 2, 4, 5, 7}, {3, 6, 8, 9, 10, 11}, 4, 24.0 / 462, 2.0 / 462, Verdict::kNotSignificant},
      // Ties share their mean rank.
      {{10, 20, 20, 30}, {20, 30, 40, 50}, 2.5, 0.2, 2.0 / 70, Verdict::kNotSignificant},
  };
  for (const Case& c : cases) {
    const RankTest test = mannWhitney(c.older, c.newer);
    EXPECT_DOUBLE_EQ(test.u, c.u) << c.p;
    EXPECT_NEAR(test.pValue, c.p, 1e-12) << c.u;
    EXPECT_NEAR(test.smallestPValue, c.smallestP, 1e-12) << c.u;
    EXPECT_TRUE(test.exact);
    EXPECT_EQ(verdictOf(test), c.verdict) << c.u << " " << c.p;
    EXPECT_NEAR(mannWhitney(c.newer, c.older).pValue, test.pValue, 1e-12) << "not symmetric";
  }

  // Past the exact limit, the normal approximation with its tie correction: 31 scores each,
  // ten or eleven to a tie (U = 210, z = 3.97 where ignoring the ties gives 3.81).
  std::vector<double> older(31, 1), newer(31, 2);
  std::fill(older.begin() + 10, older.begin() + 21, 2);
  std::fill(older.begin() + 21, older.end(), 3);
  std::fill(newer.begin() + 10, newer.begin() + 21, 3);
  std::fill(newer.begin() + 21, newer.end(), 4);
  const RankTest large = mannWhitney(older, newer);
  EXPECT_FALSE(large.exact);
  EXPECT_EQ(large.u, 210);
  EXPECT_NEAR(large.pValue, 7.015923285091466e-05, 1e-12);
  EXPECT_EQ(verdictOf(large), Verdict::kSignificant);
}

// A run's seconds from the counts its tick handler records, how they are drawn, and whether the
// run was uneven (the boundary rows catch the threshold moved). A run of `seconds` iterations
// per second makes a tenth of each second's iterations per tick.
TEST(Steadiness, SecondsFromRecordedTicksTheirSteadinessAndSparkline) {
  struct SecondsCase {
    const char* what;
    std::vector<double> seconds;
    std::int16_t ticks;  // handled before the run ended
    std::optional<double> steadiness;
    const char* sparkline;
    bool uneven;
  };
  const SecondsCase cases[] = {
      {"flat", {100, 100, 100, 100, 100, 100, 100, 100, 100, 100}, 100, 1.0, "▅▅▅▅▅▅▅▅▅▅", false},
      {"rising", {10, 20, 30, 40, 50, 60, 70, 80, 90, 100}, 100, 10 / 55.0, "▁▁▂▃▄▅▆▇██", true},
      {"a second at 60 % of the median", {100, 100, 60, 100}, 40, 0.6, "██▁█", true},
      {"a second at 75 % of the median", {100, 100, 75, 100}, 40, 0.75, "██▁█", false},
      {"stopped by Ctrl-C at tick 47", {100, 100, 100, 80}, 47, 0.8, "███▁", false},
      {"stopped within the second second", {100}, 19, std::nullopt, "▅", false},
  };
  for (const SecondsCase& run : cases) {
    TickRecorder recorder;
    recorder.start();
    double iterations = 0;
    for (std::int16_t tick = 1; tick <= run.ticks; ++tick) {
      const std::size_t second = static_cast<std::size_t>((tick - 1) / kTicksPerSecond);
      iterations += second < run.seconds.size() ? run.seconds[second] / kTicksPerSecond : 0;
      recorder.record(tick, iterations);
    }
    const std::vector<double> seconds = iterationsPerSecond(recorder.counts());
    EXPECT_EQ(seconds, run.seconds) << run.what;
    EXPECT_EQ(steadiness(seconds), run.steadiness) << run.what;
    EXPECT_EQ(sparkline(seconds, true), run.sparkline) << run.what;
    RunResult result;
    result.secondIterations = seconds;
    EXPECT_EQ(result.uneven(), run.uneven) << run.what;
  }
  EXPECT_EQ(sparkline(std::vector<double>{1, 2, 3}, false), " =#") << "the plain fallback";
}

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
