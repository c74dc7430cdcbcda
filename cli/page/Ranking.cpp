#include "cli/page/Ranking.h"

#include <QJsonArray>
#include <algorithm>
#include <cmath>

#include "cli/stats/MannWhitney.h"
#include "cli/stats/NumberText.h"
#include "cli/stats/Statistics.h"

namespace orvendale::cli {

namespace {
// The chance that at most k of n fair coin flips come up heads.
double atMostHalf(std::size_t k, std::size_t n) {
  const double all = static_cast<double>(n);
  double sum = 0;
  for (std::size_t i = 0; i <= k; ++i) {
    const double some = static_cast<double>(i);
    sum += std::exp(std::lgamma(all + 1) - std::lgamma(some + 1) - std::lgamma(all - some + 1) -
                    all * std::log(2.0));
  }
  return std::min(1.0, sum);
}

// A machine's runs split into those ranked and those left out.
struct Ranked {
  const RankCandidate* candidate = nullptr;
  std::vector<double> clean;  // not flagged
  int contended = 0;
  int uneven = 0;
  int throttled = 0;
  Summary summary;
};

Ranked rankedOf(const RankCandidate& candidate) {
  Ranked ranked;
  ranked.candidate = &candidate;
  for (const RunPoint& point : candidate.points) {
    ranked.contended += point.contended ? 1 : 0;
    ranked.uneven += point.uneven ? 1 : 0;
    ranked.throttled += point.throttled ? 1 : 0;
    if (!point.flagged()) {
      ranked.clean.push_back(point.value);
    }
  }
  ranked.summary = summarize(ranked.clean).value_or(Summary{});
  return ranked;
}

// Whether the rank test tells the two machines apart, as --compare decides it.
QJsonObject neighbourJson(const Ranked& higher, const Ranked& lower) {
  const RankTest test = mannWhitney(higher.clean, lower.clean);
  const std::string p = "p = " + fixedText(test.pValue, 4);
  std::string verdict;
  std::string text;
  switch (verdictOf(test)) {
    case Verdict::kSignificant:
      verdict = "significant";
      text = "higher, significant at the 5 % level (" + p + ")";
      break;
    case Verdict::kNotSignificant:
      verdict = "not significant";
      text = "cannot be told apart: not significant at the 5 % level (" + p +
             "), the difference is within the runs' own noise";
      break;
    case Verdict::kTooFewRuns:
      verdict = "too few runs";
      text = "cannot be told apart: too few runs were taken (" +
             std::to_string(higher.clean.size()) + " and " + std::to_string(lower.clean.size()) +
             ") for any outcome to reach the 5 % level (the smallest possible p is " +
             fixedText(test.smallestPValue, 4) + "); take " +
             std::to_string(runsNeededForSignificance()) + " or more runs each";
      break;
  }
  return {{"verdict", QString::fromStdString(verdict)}, {"text", QString::fromStdString(text)}};
}

QJsonObject entryJson(const Ranked& ranked) {
  return {
      {"machine", ranked.candidate->machine},
      {"jobs", ranked.candidate->jobs},
      {"runs", static_cast<qint64>(ranked.clean.size())},
      {"contended", ranked.contended},
      {"uneven", ranked.uneven},
      {"throttled", ranked.throttled},
      {"median", ranked.summary.median},
      {"minimum", ranked.summary.minimum},
      {"maximum", ranked.summary.maximum},
      {"interval", intervalJson(medianInterval(ranked.clean))},
  };
}
}  // namespace

MedianInterval medianInterval(std::vector<double> scores) {
  MedianInterval interval;
  if (scores.empty()) {
    return interval;
  }
  std::sort(scores.begin(), scores.end());
  const std::size_t n = scores.size();
  // [k-th lowest, k-th highest] misses the median when fewer than k scores lie on one side of it.
  std::size_t k = 1;
  interval.confidence = 1 - 2 * atMostHalf(0, n);
  interval.reachesTarget = interval.confidence >= kIntervalConfidence;
  while (interval.reachesTarget && 2 * (k + 1) <= n + 1 &&
         1 - 2 * atMostHalf(k, n) >= kIntervalConfidence) {
    interval.confidence = 1 - 2 * atMostHalf(k, n);
    ++k;
  }
  interval.low = scores[k - 1];
  interval.high = scores[n - k];
  return interval;
}

QJsonObject intervalJson(const MedianInterval& interval) {
  return {{"low", interval.low},
          {"high", interval.high},
          {"confidence", interval.confidence},
          {"reachesTarget", interval.reachesTarget}};
}

QJsonObject rankingJson(const std::vector<RankCandidate>& candidates) {
  std::vector<Ranked> ranked;
  QJsonArray unranked;
  int contended = 0;
  int uneven = 0;
  int throttled = 0;
  int leftOut = 0;
  for (const RankCandidate& candidate : candidates) {
    Ranked one = rankedOf(candidate);
    contended += one.contended;
    uneven += one.uneven;
    throttled += one.throttled;
    leftOut += static_cast<int>(candidate.points.size() - one.clean.size());
    if (one.clean.empty()) {
      unranked.append(entryJson(one));
    } else {
      ranked.push_back(std::move(one));
    }
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
    return a.summary.median > b.summary.median;
  });
  QJsonArray entries;
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    QJsonObject entry = entryJson(ranked[i]);
    if (i + 1 < ranked.size()) {
      entry.insert("next", neighbourJson(ranked[i], ranked[i + 1]));
    }
    entries.append(entry);
  }
  return {
      {"entries", entries},         {"unranked", unranked}, {"leftOutRuns", leftOut},
      {"contendedRuns", contended}, {"unevenRuns", uneven}, {"throttledRuns", throttled},
  };
}

}  // namespace orvendale::cli
