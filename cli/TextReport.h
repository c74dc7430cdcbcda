#pragma once

#include <string>

#include "cli/RunResult.h"
#include "cli/Statistics.h"

namespace orvendale::cli {

// The line for run `number` of `count`, for stdout when scored and for stderr otherwise, e.g.
// "run 1 of 3: score 3268340 (workload revision 1), 2042713 iterations in 10000.0 ms, 4895.4 ns
// per iteration".
std::string runLine(int number, int count, const RunResult& run, int workloadRevision);

// "scores of 3 runs (workload revision 1): median 3268340, minimum 3250000, maximum 3377910,
// coefficient of variation 2.09 %"; the variation is left out for a single run.
std::string summaryLine(const Summary& summary, int workloadRevision);

// A number with `decimals` digits after the point, independent of the locale.
std::string fixedText(double value, int decimals);

}  // namespace orvendale::cli
