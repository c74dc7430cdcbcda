#include "cli/stats/MannWhitney.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace orvendale::cli {

namespace {
struct Ranked {
  std::vector<std::int64_t> doubledRanks;  // midranks times two, so ties stay whole
  std::int64_t firstSum = 0;               // of the first set's doubled ranks
  double tieTerm = 0;                      // sum of t^3 - t over groups of t tied scores
};

Ranked rank(std::span<const double> first, std::span<const double> second) {
  struct Entry {
    double value;
    bool first;
  };
  std::vector<Entry> pooled;
  for (const double value : first) {
    pooled.push_back({value, true});
  }
  for (const double value : second) {
    pooled.push_back({value, false});
  }
  std::sort(pooled.begin(), pooled.end(),
            [](const Entry& a, const Entry& b) { return a.value < b.value; });
  Ranked ranked;
  for (std::size_t i = 0; i < pooled.size();) {
    std::size_t j = i;
    while (j + 1 < pooled.size() && pooled[j + 1].value == pooled[i].value) {
      ++j;
    }
    // Ranks i + 1 to j + 1 share their mean; doubled, that is i + j + 2.
    const auto doubled = static_cast<std::int64_t>(i + j + 2);
    const auto tied = static_cast<double>(j - i + 1);
    ranked.tieTerm += tied * tied * tied - tied;
    for (std::size_t k = i; k <= j; ++k) {
      ranked.doubledRanks.push_back(doubled);
      if (pooled[k].first) {
        ranked.firstSum += doubled;
      }
    }
    i = j + 1;
  }
  return ranked;
}

// How many subsets of `n1` of the doubled ranks have each doubled sum: ways[k * width + s] counts
// the subsets of k ranks with sum s, for sums up to all the ranks' (width - 1).
std::vector<double> subsetsBySum(const std::vector<std::int64_t>& doubledRanks, std::size_t n1,
                                 std::size_t& width) {
  std::int64_t maxSum = 0;
  for (const std::int64_t r : doubledRanks) {
    maxSum += r;
  }
  width = static_cast<std::size_t>(maxSum + 1);
  std::vector<double> ways((n1 + 1) * width, 0.0);
  ways[0] = 1;
  for (const std::int64_t r : doubledRanks) {
    for (std::size_t k = n1; k >= 1; --k) {
      for (std::size_t s = width - 1; s >= static_cast<std::size_t>(r); --s) {
        ways[k * width + s] += ways[(k - 1) * width + s - static_cast<std::size_t>(r)];
      }
    }
  }
  return ways;
}

// The exact two-sided p-values of the observed doubled rank sum and of the most extreme one,
// over all ways of drawing the first set's size from the pooled ranks.
void exactPValues(const Ranked& ranked, std::size_t n1, RankTest& test) {
  const std::size_t total = ranked.doubledRanks.size();
  std::size_t width = 0;
  const std::vector<double> ways = subsetsBySum(ranked.doubledRanks, n1, width);
  const auto mean = static_cast<std::int64_t>(n1 * (total + 1));  // doubled
  const std::int64_t observed = std::llabs(ranked.firstSum - mean);
  double all = 0;
  double atLeastObserved = 0;
  std::int64_t extreme = 0;
  for (std::size_t s = 0; s < width; ++s) {
    const double count = ways[n1 * width + s];
    if (count > 0) {
      all += count;
      const std::int64_t distance = std::llabs(static_cast<std::int64_t>(s) - mean);
      extreme = std::max(extreme, distance);
      if (distance >= observed) {
        atLeastObserved += count;
      }
    }
  }
  double atExtreme = 0;
  for (std::size_t s = 0; s < width; ++s) {
    if (std::llabs(static_cast<std::int64_t>(s) - mean) >= extreme) {
      atExtreme += ways[n1 * width + s];
    }
  }
  test.pValue = std::min(1.0, atLeastObserved / all);
  test.smallestPValue = std::min(1.0, atExtreme / all);
}

// Normal approximation with the tie correction and a continuity correction.
double normalPValue(double u1, double n1, double n2, double tieTerm) {
  const double n = n1 + n2;
  const double variance = n1 * n2 / 12.0 * ((n + 1) - tieTerm / (n * (n - 1)));
  if (variance <= 0) {
    return 1;
  }
  const double z = std::max(0.0, std::abs(u1 - n1 * n2 / 2) - 0.5) / std::sqrt(variance);
  return std::min(1.0, std::erfc(z / std::sqrt(2.0)));
}
}  // namespace

RankTest mannWhitney(std::span<const double> first, std::span<const double> second) {
  if (first.empty() || second.empty()) {
    return {};
  }
  const Ranked ranked = rank(first, second);
  const auto n1 = static_cast<double>(first.size());
  const auto n2 = static_cast<double>(second.size());
  const double u1 = static_cast<double>(ranked.firstSum) / 2 - n1 * (n1 + 1) / 2;
  RankTest test;
  test.u = std::min(u1, n1 * n2 - u1);
  if (first.size() + second.size() <= kExactRankTestLimit) {
    exactPValues(ranked, first.size(), test);
  } else {
    test.exact = false;
    test.pValue = normalPValue(u1, n1, n2, ranked.tieTerm);
    test.smallestPValue = normalPValue(0, n1, n2, ranked.tieTerm);
  }
  return test;
}

Verdict verdictOf(const RankTest& test) {
  if (test.smallestPValue >= kSignificanceLevel) {
    return Verdict::kTooFewRuns;
  }
  return test.pValue < kSignificanceLevel ? Verdict::kSignificant : Verdict::kNotSignificant;
}

int runsNeededForSignificance() {
  // Without ties the smallest two-sided p of n and n scores is 2 / C(2n, n).
  double ways = 2;  // C(2, 1)
  int n = 1;
  while (2 / ways >= kSignificanceLevel) {
    ways = ways * (2 * n + 1) * (2 * n + 2) / ((n + 1) * (n + 1));
    ++n;
  }
  return n;
}

}  // namespace orvendale::cli
