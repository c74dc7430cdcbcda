#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "benchmark/BenchmarkEngine.h"
#include "cli/run/RunFigures.h"
#include "cli/sensors/Readings.h"

namespace orvendale::cli {

enum class RunStatus {
  kScored,       // all 100 ticks, and the last iteration left the known text
  kInterrupted,  // stopped before its 100th tick: not scored
  kInvalid,      // the last iteration left another text: the work went wrong, not scored
  kFailed,       // the engine raised an error
};

// One run as the reports need it, however it was driven.
struct RunResult {
  RunStatus status = RunStatus::kFailed;
  double iterations = 0;
  std::int16_t ticks = 0;
  std::int64_t wallNanoseconds = 0;
  double score = 0;  // only for kScored
  // kInvalid: the text found; kFailed: the error message.
  std::string detail;
  // What the processor gave the run; absent where it was not measured.
  std::optional<RunFigures> figures;
  // The iterations of each whole second, where the ticks were recorded.
  std::vector<double> secondIterations;
  // The clock, the heat and the CPU quota during the run; absent where they were not read.
  std::optional<RunReadings> readings;

  bool scored() const { return status == RunStatus::kScored; }
  // Wall time over iterations; zero without iterations.
  double nanosecondsPerIteration() const;
  // The slowest second over the median second; nothing for fewer than two seconds.
  std::optional<double> steadiness() const;
  // Slowed part-way: a steadiness below kUnevenBelow.
  bool uneven() const;
  // The readings in a few figures; nothing where they were not read.
  std::optional<ReadingsSummary> readingsSummary() const;
  // Held back by heat, a lowered clock or a CPU quota (ReadingsSummary::throttled).
  bool throttled() const;
};

// Classifies the run `engine` has just finished. An interrupted run is not checked further.
RunResult resultOfRun(const BenchmarkEngine& engine, std::int64_t wallNanoseconds);

// The same from the engine's figures.
RunResult resultOfRun(double iterations, std::int16_t ticks, std::string_view lastIterationText,
                      std::int64_t wallNanoseconds);

// A run that ended with an error instead of a score.
RunResult failedRun(std::string message, std::int64_t wallNanoseconds);

const char* statusName(RunStatus status);

}  // namespace orvendale::cli
