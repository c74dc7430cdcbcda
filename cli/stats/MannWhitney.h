#pragma once

#include <span>

namespace orvendale::cli {

// The Mann-Whitney rank test of two sets of scores, two-sided.
struct RankTest {
  double u = 0;       // the smaller of the two U statistics
  double pValue = 1;  // the chance of a difference at least this large between equal machines
  // The smallest p-value any outcome could give with these many scores (and these ties): when
  // it is not below the significance level, the sets are too small to tell anything.
  double smallestPValue = 1;
  bool exact = true;  // from the exact distribution, else from the normal approximation
};

// Up to this many scores in all the p-value is exact, ties included (midranks).
inline constexpr int kExactRankTestLimit = 60;

inline constexpr double kSignificanceLevel = 0.05;

// With an empty set there is nothing to test: p is 1.
RankTest mannWhitney(std::span<const double> first, std::span<const double> second);

enum class Verdict { kTooFewRuns, kNotSignificant, kSignificant };

Verdict verdictOf(const RankTest& test);

// The fewest scores in each of two sets that can give a significant result without ties.
int runsNeededForSignificance();

}  // namespace orvendale::cli
