#pragma once

#include <cstdio>
#include <string>

#include "cli/compare/ResultFile.h"
#include "cli/stats/MannWhitney.h"

namespace orvendale::cli {

// The comparison of two result files of one workload revision: each file's median and spread,
// the ratio of the medians NEW / OLD and the rank test's verdict, one line each, and a note
// when runs of either file were contended, throttled or uneven.
std::string comparisonReport(const ResultFile& older, const ResultFile& newer);

// The sentence for a rank test's outcome, e.g. "not significant at the 5 % level (p = 0.4206):
// the difference is within the runs' own noise".
std::string verdictText(const RankTest& test, std::size_t olderCount, std::size_t newerCount,
                        bool newerHigher);

// --compare OLD NEW: prints the report to `out`, or one line to `err` and returns 2 when a file
// cannot be read or the revisions differ.
int compareFiles(const std::string& olderPath, const std::string& newerPath, std::FILE* out,
                 std::FILE* err);

}  // namespace orvendale::cli
