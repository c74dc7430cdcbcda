// Summaries of score series and the rank test's verdicts over hand-made score sets whose U
// statistics and exact p-values are known (counted over every split of the pooled scores).
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "cli/stats/MannWhitney.h"
#include "cli/stats/Statistics.h"

namespace orvendale::cli {
namespace {

TEST(Summarize, KnownSeries) {
  struct Case {
    std::vector<double> values;
    double median;
    double minimum;
    double maximum;
    std::optional<double> cvPercent;
  };
  const Case cases[] = {
      // One value has no spread to speak of.
      {.values = {42}, .median = 42, .minimum = 42, .maximum = 42, .cvPercent = std::nullopt},
      // Sample standard deviation sqrt(32 / 7) over the mean 5; the order does not matter.
      {.values = {9, 2, 4, 5, 4, 7, 4, 5},
       .median = 4.5,
       .minimum = 2,
       .maximum = 9,
       .cvPercent = 42.76179870598791},
      {.values = {7, 7, 7}, .median = 7, .minimum = 7, .maximum = 7, .cvPercent = 0.0},
      // A zero mean leaves the ratio undefined.
      {.values = {0, 0}, .median = 0, .minimum = 0, .maximum = 0, .cvPercent = std::nullopt},
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

TEST(MannWhitney, KnownStatisticsAndVerdicts) {
  struct Case {
    std::vector<double> older;
    std::vector<double> newer;
    double u;
    double p;
    double smallestP;
    Verdict verdict;
  };
  const Case cases[] = {
      {.older = {1, 2, 3, 4},
       .newer = {5, 6, 7, 8},
       .u = 0,
       .p = 2.0 / 70,
       .smallestP = 2.0 / 70,
       .verdict = Verdict::kSignificant},
      {.older = {1, 2, 3},
       .newer = {4, 5, 6},
       .u = 0,
       .p = 0.1,
       .smallestP = 0.1,
       .verdict = Verdict::kTooFewRuns},
      // Just above the 5 % level: a one-sided p would call it significant.
      {.older = {1, 2, 4, 5, 7},
       .newer = {3, 6, 8, 9, 10, 11},
       .u = 4,
       .p = 24.0 / 462,
       .smallestP = 2.0 / 462,
       .verdict = Verdict::kNotSignificant},
      // Ties share their mean rank.
      {.older = {10, 20, 20, 30},
       .newer = {20, 30, 40, 50},
       .u = 2.5,
       .p = 0.2,
       .smallestP = 2.0 / 70,
       .verdict = Verdict::kNotSignificant},
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
  std::vector<double> older(31, 1);
  std::vector<double> newer(31, 2);
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

}  // namespace
}  // namespace orvendale::cli
