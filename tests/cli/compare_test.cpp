// The rank test's verdicts over hand-made score sets whose U statistics and exact p-values are
// known (counted over every split of the pooled scores).
#include <gtest/gtest.h>

#include <vector>

#include "cli/RankTest.h"

namespace orvendale::cli {
namespace {

std::vector<double> range(int first, int last) {
  std::vector<double> values;
  for (int v = first; v <= last; ++v) {
    values.push_back(v);
  }
  return values;
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
      {{1, 3, 5, 7, 9}, {2, 4, 6, 8, 10}, 10, 174.0 / 252, 2.0 / 252, Verdict::kNotSignificant},
      // Just above the 5 % level: a one-sided p would call it significant.
      {{1, 2, 4, 5, 7}, {3, 6, 8, 9, 10, 11}, 4, 24.0 / 462, 2.0 / 462, Verdict::kNotSignificant},
      // Ties share their mean rank.
      {{10, 20, 20, 30}, {20, 30, 40, 50}, 2.5, 0.2, 2.0 / 70, Verdict::kNotSignificant},
      {{3, 3, 3}, {3, 3, 3}, 4.5, 1, 1, Verdict::kTooFewRuns},
  };
  for (const Case& c : cases) {
    const RankTest test = mannWhitney(c.older, c.newer);
    EXPECT_DOUBLE_EQ(test.u, c.u) << c.p;
    EXPECT_NEAR(test.pValue, c.p, 1e-12) << c.u;
    EXPECT_NEAR(test.smallestPValue, c.smallestP, 1e-12) << c.u;
    EXPECT_TRUE(test.exact);
    EXPECT_EQ(verdictOf(test), c.verdict) << c.u << " " << c.p;
    // The test is symmetric in its two sets.
    EXPECT_NEAR(mannWhitney(c.newer, c.older).pValue, test.pValue, 1e-12);
  }
  EXPECT_EQ(runsNeededForSignificance(), 4);

  // Past the exact limit: the normal approximation, 31 scores each, fully separated.
  const RankTest large = mannWhitney(range(1, 31), range(32, 62));
  EXPECT_FALSE(large.exact);
  EXPECT_EQ(large.u, 0);
  EXPECT_LT(large.pValue, 1e-9);
  EXPECT_EQ(verdictOf(large), Verdict::kSignificant);
  EXPECT_GT(mannWhitney(range(1, 31), range(1, 31)).pValue, 0.9);
}

}  // namespace
}  // namespace orvendale::cli
