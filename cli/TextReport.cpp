#include "cli/TextReport.h"

#include <array>
#include <charconv>
#include <cmath>

namespace orvendale::cli {

std::string fixedText(double value, int decimals) {
  std::array<char, 64> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                          std::chars_format::fixed, decimals);
  if (error != std::errc()) {
    return "?";
  }
  return std::string(buffer.data(), end);
}

std::string runLine(int number, int count, const RunResult& run, int workloadRevision) {
  std::string line = "run " + std::to_string(number) + " of " + std::to_string(count) + ": ";
  const std::string timing = fixedText(run.iterations, 0) + " iterations in " +
                             fixedText(static_cast<double>(run.wallNanoseconds) / 1e6, 1) + " ms";
  switch (run.status) {
    case RunStatus::kScored:
      return line + "score " + fixedText(run.score, 0) + " (workload revision " +
             std::to_string(workloadRevision) + "), " + timing + ", " +
             fixedText(run.nanosecondsPerIteration(), 1) + " ns per iteration";
    case RunStatus::kInterrupted:
      return line + "interrupted after " + std::to_string(run.ticks) + " of " +
             std::to_string(BenchmarkEngine::kTickLimit) + " ticks, not scored";
    case RunStatus::kInvalid:
      return line + "invalid, not scored: the last iteration left \"" + run.detail +
             "\" instead of the workload's known result (" + timing + ")";
    case RunStatus::kFailed:
      return line + "failed, not scored: " + run.detail;
  }
  return line;
}

std::string summaryLine(const Summary& summary, int workloadRevision) {
  // The median of an even count can end in .5.
  const int medianDecimals = summary.median == std::floor(summary.median) ? 0 : 1;
  std::string line = "scores of " + std::to_string(summary.count) +
                     (summary.count == 1 ? " run" : " runs") + " (workload revision " +
                     std::to_string(workloadRevision) + "): median " +
                     fixedText(summary.median, medianDecimals) + ", minimum " +
                     fixedText(summary.minimum, 0) + ", maximum " + fixedText(summary.maximum, 0);
  if (summary.cvPercent) {
    line += ", coefficient of variation " + fixedText(*summary.cvPercent, 2) + " %";
  }
  return line;
}

}  // namespace orvendale::cli
