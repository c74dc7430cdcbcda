#include "cli/run/PerSecond.h"

#include <algorithm>

#include "cli/stats/Statistics.h"

namespace orvendale::cli {

std::vector<double> iterationsPerSecond(std::span<const double> tickCounts) {
  std::vector<double> seconds;
  double before = 0;
  for (std::size_t end = kTicksPerSecond; end <= tickCounts.size(); end += kTicksPerSecond) {
    seconds.push_back(tickCounts[end - 1] - before);
    before = tickCounts[end - 1];
  }
  return seconds;
}

std::optional<double> steadiness(std::span<const double> seconds) {
  const std::optional<Summary> summary = summarize(seconds);
  if (!summary || summary->count < 2 || summary->median <= 0) {
    return std::nullopt;
  }
  return summary->minimum / summary->median;
}

}  // namespace orvendale::cli
