#include "cli/run/RunResult.h"

#include <utility>

#include "benchmark/WorkIteration.h"
#include "cli/run/PerSecond.h"

namespace orvendale::cli {

std::optional<double> RunResult::steadiness() const {
  return cli::steadiness(secondIterations);
}

bool RunResult::uneven() const {
  const std::optional<double> value = steadiness();
  return value && *value < kUnevenBelow;
}

std::optional<ReadingsSummary> RunResult::readingsSummary() const {
  return readings ? std::optional(summarizeReadings(*readings, wallNanoseconds)) : std::nullopt;
}

bool RunResult::throttled() const {
  const std::optional<ReadingsSummary> summary = readingsSummary();
  return summary && summary->throttled();
}

double RunResult::nanosecondsPerIteration() const {
  return iterations > 0 ? static_cast<double>(wallNanoseconds) / iterations : 0;
}

RunResult resultOfRun(const BenchmarkEngine& engine, std::int64_t wallNanoseconds) {
  return resultOfRun(engine.dblLoops(), engine.intTicks(), engine.lastIterationText(),
                     wallNanoseconds);
}

RunResult resultOfRun(double iterations, std::int16_t ticks, std::string_view lastIterationText,
                      std::int64_t wallNanoseconds) {
  RunResult result;
  result.iterations = iterations;
  result.ticks = ticks;
  result.wallNanoseconds = wallNanoseconds;
  if (ticks < BenchmarkEngine::kTickLimit) {
    result.status = RunStatus::kInterrupted;
  } else if (lastIterationText != kKnownIterationText) {
    result.status = RunStatus::kInvalid;
    result.detail = lastIterationText;
  } else {
    result.status = RunStatus::kScored;
    result.score = BenchmarkEngine::score(iterations);
  }
  return result;
}

RunResult failedRun(std::string message, std::int64_t wallNanoseconds) {
  RunResult result;
  result.status = RunStatus::kFailed;
  result.wallNanoseconds = wallNanoseconds;
  result.detail = std::move(message);
  return result;
}

const char* statusName(RunStatus status) {
  switch (status) {
    case RunStatus::kScored:
      return "scored";
    case RunStatus::kInterrupted:
      return "interrupted";
    case RunStatus::kInvalid:
      return "invalid";
    case RunStatus::kFailed:
      return "failed";
  }
  return "failed";
}

}  // namespace orvendale::cli
