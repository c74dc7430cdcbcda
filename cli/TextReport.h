#pragma once

#include <string>

#include "cli/Machine.h"
#include "cli/RunResult.h"
#include "cli/Statistics.h"

namespace orvendale::cli {

// The line for run `number` of `count`, for stdout when scored and for stderr otherwise, e.g.
// "run 1 of 3: score 3268340 (workload revision 1), 2042713 iterations in 10000.0 ms, 4895.4 ns
// per iteration; CPU 9712.5 ms, 97.1 % of the wall time, steal 0.0 ms, 41 involuntary context
// switches". A run with less than kUncontendedCpuShare of a processor ends ", contended".
std::string runLine(int number, int count, const RunResult& run, int workloadRevision);

// "scores of 3 runs (workload revision 1): median 3268340, minimum 3250000, maximum 3377910,
// coefficient of variation 2.09 %; 1 of 3 runs contended"; the variation is left out for a
// single run.
std::string summaryLine(const Summary& summary, int workloadRevision, int contendedRuns);

// The median as a whole score: the mean of two middle scores is rounded half up, and says so.
std::string medianText(const Summary& summary);

// Two lines, "machine: ..." (processor and system) and "build: ..." (program, compiler, Qt).
std::string machineLines(const Machine& machine);

// A number with `decimals` digits after the point, independent of the locale.
std::string fixedText(double value, int decimals);

}  // namespace orvendale::cli
