#pragma once

#include <QJsonObject>
#include <string>
#include <vector>

namespace orvendale::cli {

// A scored run, or a complete --jobs round, as the page draws it.
struct RunPoint {
  int number = 0;  // the run's or the round's number, from 1
  double value = 0;
  bool contended = false;
  bool uneven = false;
  bool throttled = false;
  // Contended, uneven or throttled: its score does not measure the processor alone.
  bool flagged() const { return contended || uneven || throttled; }
};

// The confidence the page's intervals of a median aim at.
inline constexpr double kIntervalConfidence = 0.95;

// An interval of a median that assumes nothing of the scores' distribution: the k-th lowest and
// the k-th highest score, which hold the true median with a chance that follows from the
// binomial distribution with p = 1/2.
struct MedianInterval {
  double low = 0;
  double high = 0;
  double confidence = 0;  // 0 to 1
  // At least kIntervalConfidence; else [min, max], the widest, falls short of it (fewer than six
  // scores) and `confidence` says how far it reaches.
  bool reachesTarget = false;
};

// The narrowest such interval with at least kIntervalConfidence; nothing for no scores.
MedianInterval medianInterval(std::vector<double> scores);

QJsonObject intervalJson(const MedianInterval& interval);

// A machine's runs of one kind of score, to be ranked.
struct RankCandidate {
  int machine = 0;  // its index in the page's machines
  int jobs = 0;     // the workers of a multi-core score; 0 for single-core
  std::vector<RunPoint> points;
};

// The candidates ordered by the median of their runs that were not flagged (highest first), each
// with its interval and the rank test against the next one; machines left with no such run come
// after, unranked; and how many runs were left out.
QJsonObject rankingJson(const std::vector<RankCandidate>& candidates);

}  // namespace orvendale::cli
