#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace orvendale::cli {

// How a series of scores spreads.
struct Summary {
  std::size_t count = 0;
  double median = 0;
  double minimum = 0;
  double maximum = 0;
  // Sample standard deviation (n - 1) over the mean, in percent. Absent for fewer than two
  // values or a zero mean.
  std::optional<double> cvPercent;
};

// The summary of `values`; nothing for an empty series. The median of an even count is the
// mean of the two middle values.
std::optional<Summary> summarize(std::span<const double> values);

}  // namespace orvendale::cli
