#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/run/RunResult.h"

namespace orvendale::cli {

// How the program and the worker processes of a --jobs round talk, built and read here alone:
// 1. the starter runs this program as PROGRAM --worker CPU ("-" for a worker left unpinned);
// 2. the worker, ready to run, writes kReadyLine to its stdout;
// 3. the starter closes every worker's stdin at once: the start signal;
// 4. the worker writes one report line of its run and ends.

// The argument that makes orvendale-cli a worker of a --jobs round; for the program itself.
inline constexpr std::string_view kWorkerArgument = "--worker";

// The worker's command line, program name first.
std::array<std::string, 3> workerCommandLine(std::optional<int> cpu);

// What a worker's command line asks for.
struct WorkerCommand {
  std::optional<int> cpu;  // the CPU to pin itself to; none when unpinned
};

// The worker command in `arguments` (those after the program name); nothing when they are not
// a worker's command line.
std::optional<WorkerCommand> parseWorkerCommand(std::span<const std::string_view> arguments);

// What a worker writes once it is ready to begin its run.
inline constexpr std::string_view kReadyLine = "ready\n";

// Whether `received`, all a worker has written so far, holds its ready line.
bool saidReady(std::string_view received);

// The report line that follows the ready line in `received`, without its line end; empty when
// there is none.
std::string_view reportAfterReady(std::string_view received);

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
