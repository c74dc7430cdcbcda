#include "cli/stats/Statistics.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orvendale::cli {

std::optional<Summary> summarize(std::span<const double> values) {
  if (values.empty()) {
    return std::nullopt;
  }
  std::vector<double> sorted(values.begin(), values.end());
  std::sort(sorted.begin(), sorted.end());
  const std::size_t n = sorted.size();

  Summary summary;
  summary.count = n;
  summary.minimum = sorted.front();
  summary.maximum = sorted.back();
  summary.median = n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;

  if (n >= 2) {
    double sum = 0;
    for (const double value : sorted) {
      sum += value;
    }
    const double mean = sum / static_cast<double>(n);
    double squares = 0;
    for (const double value : sorted) {
      squares += (value - mean) * (value - mean);
    }
    if (mean != 0) {
      summary.cvPercent = 100 * std::sqrt(squares / static_cast<double>(n - 1)) / std::abs(mean);
    }
  }
  return summary;
}

}  // namespace orvendale::cli
