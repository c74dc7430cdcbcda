#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/run/RunResult.h"

namespace orvendale::cli {

// What a worker process reports of its run to the program that started it: one line of text.
struct WorkerReport {
  RunResult run;
  std::int64_t startNanoseconds = 0;  // when the run began, on the system's monotonic clock
};

// The line for `run`, which the worker began at `startNanoseconds`. An interrupted, invalid or
// scored run carries the last iteration's text, a failed one its error; the receiving side
// classifies it again.
std::string workerReportLine(const RunResult& run, std::string_view lastIterationText,
                             std::int64_t startNanoseconds);

// The report in `line`; nothing when the line is not one that workerReportLine makes.
std::optional<WorkerReport> parseWorkerReportLine(std::string_view line);

}  // namespace orvendale::cli
