#include "cli/Statistics.h"

#include <gtest/gtest.h>

#include <vector>

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
      {{42}, 42, 42, 42, std::nullopt},  // one value has no spread to speak of
      {{11, 19}, 15, 11, 19, 37.712361663282536},
      {{3377910, 3345550, 3268340, 3250000, 2632640}, 3268340, 2632640, 3377910, 9.692118990518237},
      // Sample standard deviation sqrt(32 / 7) over the mean 5; the order does not matter.
      {{9, 2, 4, 5, 4, 7, 4, 5}, 4.5, 2, 9, 42.76179870598791},
      {{7, 7, 7}, 7, 7, 7, 0.0},
      {{0, 0}, 0, 0, 0, std::nullopt},  // a zero mean leaves the ratio undefined
  };
  for (const Case& c : cases) {
    const std::optional<Summary> summary = summarize(c.values);
    ASSERT_TRUE(summary.has_value());
    EXPECT_EQ(summary->count, c.values.size());
    EXPECT_DOUBLE_EQ(summary->median, c.median);
    EXPECT_DOUBLE_EQ(summary->minimum, c.minimum);
    EXPECT_DOUBLE_EQ(summary->maximum, c.maximum);
    ASSERT_EQ(summary->cvPercent.has_value(), c.cvPercent.has_value());
    if (c.cvPercent) {
      EXPECT_NEAR(*summary->cvPercent, *c.cvPercent, 1e-9);
    }
  }
}

TEST(Summarize, NothingForNoValues) {
  EXPECT_FALSE(summarize({}).has_value());
}

}  // namespace
}  // namespace orvendale::cli
