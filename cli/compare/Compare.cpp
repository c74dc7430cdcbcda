#include "cli/compare/Compare.h"

#include <cmath>

#include "cli/report/TextReport.h"
#include "cli/stats/Statistics.h"
#include "cli/system/ExitStatus.h"
#include "cli/system/ProgramName.h"

namespace orvendale::cli {

namespace {
std::string fileLine(const char* label, const ResultFile& file) {
  const Summary summary = *summarize(file.scores);
  const std::string what = file.jobs > 0
                               ? " multi-core scores (--jobs " + std::to_string(file.jobs) + ")"
                               : (summary.count == 1 ? " scored run" : " scored runs");
  return std::string(label) + ": " + file.name + ", " + std::to_string(summary.count) + what +
         ": " + spreadText(summary, 0);
}

std::string kindOf(const ResultFile& file) {
  return file.jobs > 0 ? "multi-core scores (--jobs)" : "single-core scores";
}

// "note: A of N old and B of M new runs were <what>: <cause> may account for the difference".
std::string flaggedRunsNote(const ResultFile& older, const ResultFile& newer,
                            int ResultFile::*flagged, const char* what, const char* cause) {
  const int olderRuns = older.*flagged;
  const int newerRuns = newer.*flagged;
  if (olderRuns == 0 && newerRuns == 0) {
    return {};
  }
  return "note: " + std::to_string(olderRuns) + " of " + std::to_string(older.scores.size()) +
         " old and " + std::to_string(newerRuns) + " of " + std::to_string(newer.scores.size()) +
         " new runs were " + what + ": " + cause + " may account for the difference\n";
}

// A difference between runs that lost the processor to other work may be that work's.
std::string contentionNote(const ResultFile& older, const ResultFile& newer) {
  return flaggedRunsNote(older, newer, &ResultFile::contendedRuns, "contended",
                         "other work on the machine");
}

// Runs held below the processor's speed measured the holding back as much as the processor.
std::string throttlingNote(const ResultFile& older, const ResultFile& newer) {
  return flaggedRunsNote(older, newer, &ResultFile::throttledRuns,
                         "throttled (by heat, a lowered clock or a CPU quota)", "the throttling");
}

// A run slowed part-way measured the slowing as much as the processor.
std::string unevenNote(const ResultFile& older, const ResultFile& newer) {
  if (older.unevenRuns == 0 && newer.unevenRuns == 0) {
    return {};
  }
  return "note: " + std::to_string(older.unevenRuns) + " old and " +
         std::to_string(newer.unevenRuns) +
         " new runs were uneven: something slowed them part-way, which may account for the "
         "difference\n";
}

// Multi-core scores of different worker counts are sums over different numbers of runs.
std::string workersNote(const ResultFile& older, const ResultFile& newer) {
  if (older.jobs == newer.jobs) {
    return {};
  }
  return "note: old ran " + std::to_string(older.jobs) + " workers and new " +
         std::to_string(newer.jobs) +
         ": the ratio compares the total work of those counts, not the same work\n";
}

std::string pText(double p) {
  return "p = " + fixedText(p, 4);
}
}  // namespace

std::string verdictText(const RankTest& test, std::size_t olderCount, std::size_t newerCount,
                        bool newerHigher) {
  switch (verdictOf(test)) {
    case Verdict::kTooFewRuns:
      return "not significant (" + pText(test.pValue) + "): " + std::to_string(olderCount) +
             " and " + std::to_string(newerCount) +
             " scores cannot show a difference at the 5 % level (the smallest possible p is " +
             fixedText(test.smallestPValue, 4) + "); take " +
             std::to_string(runsNeededForSignificance()) + " or more runs for each file";
    case Verdict::kNotSignificant:
      return "not significant at the 5 % level (" + pText(test.pValue) +
             "): the difference is within the runs' own noise";
    case Verdict::kSignificant:
      return std::string("significant at the 5 % level (") + pText(test.pValue) + "): new scores " +
             (newerHigher ? "higher" : "lower") + " than old by more than the runs' own noise";
  }
  return {};
}

std::string comparisonReport(const ResultFile& older, const ResultFile& newer) {
  const Summary olderSummary = *summarize(older.scores);
  const Summary newerSummary = *summarize(newer.scores);
  const double ratio = newerSummary.median / olderSummary.median;
  const RankTest test = mannWhitney(older.scores, newer.scores);
  const std::string change = (ratio >= 1 ? "+" : "") + fixedText(100 * (ratio - 1), 2) + " %";
  return fileLine("old", older) + "\n" + fileLine("new", newer) + "\n" +
         "new / old (medians): " + fixedText(ratio, 4) + " (" + change + ")\n" +
         "Mann-Whitney U = " + fixedText(test.u, test.u == std::floor(test.u) ? 0 : 1) +
         ", two-sided" + (test.exact ? " exact" : " approximate") + " test: " +
         verdictText(test, older.scores.size(), newer.scores.size(),
                     newerSummary.median > olderSummary.median) +
         "\n" + contentionNote(older, newer) + throttlingNote(older, newer) +
         unevenNote(older, newer) + workersNote(older, newer);
}

int compareFiles(const std::string& olderPath, const std::string& newerPath, std::FILE* out,
                 std::FILE* err) {
  const auto older = readResultFile(olderPath);
  const auto newer = readResultFile(newerPath);
  for (const auto* read : {&older, &newer}) {
    if (const auto* error = std::get_if<ResultFileError>(read)) {
      sayLine(err, error->message);
      return kUsageExitStatus;
    }
  }
  const ResultFile& a = std::get<ResultFile>(older);
  const ResultFile& b = std::get<ResultFile>(newer);
  if (a.workloadRevision != b.workloadRevision) {
    std::fprintf(err,
                 "%s: %s has workload revision %d and %s has %d: their scores measure different "
                 "work and are not compared\n",
                 kProgramName, a.name.c_str(), a.workloadRevision, b.name.c_str(),
                 b.workloadRevision);
    return kUsageExitStatus;
  }
  if ((a.jobs > 0) != (b.jobs > 0)) {
    std::fprintf(err, "%s: %s holds %s and %s holds %s: they are not compared\n", kProgramName,
                 a.name.c_str(), kindOf(a).c_str(), b.name.c_str(), kindOf(b).c_str());
    return kUsageExitStatus;
  }
  std::fputs(comparisonReport(a, b).c_str(), out);
  return 0;
}

}  // namespace orvendale::cli
