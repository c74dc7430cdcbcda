#include "cli/jobs/Round.h"

#include <algorithm>

namespace orvendale::cli {

bool Round::complete() const {
  return solo.scored() && !workers.empty() &&
         std::all_of(workers.begin(), workers.end(),
                     [](const WorkerRun& worker) { return worker.run.scored(); });
}

std::optional<double> Round::multiCoreScore() const {
  if (workers.empty() || !std::all_of(workers.begin(), workers.end(),
                                      [](const WorkerRun& w) { return w.run.scored(); })) {
    return std::nullopt;
  }
  double sum = 0;
  for (const WorkerRun& worker : workers) {
    sum += worker.run.score;
  }
  return sum;
}

std::optional<double> Round::meanPerWorker() const {
  const std::optional<double> sum = multiCoreScore();
  return sum ? std::optional(*sum / static_cast<double>(workers.size())) : std::nullopt;
}

std::optional<double> Round::efficiency() const {
  if (!complete()) {
    return std::nullopt;
  }
  return *multiCoreScore() / (static_cast<double>(workers.size()) * solo.score);
}

std::optional<double> Round::startSkewMilliseconds() const {
  std::vector<std::int64_t> starts;
  for (const WorkerRun& worker : workers) {
    if (worker.startNanoseconds) {
      starts.push_back(*worker.startNanoseconds);
    }
  }
  if (starts.size() < 2) {
    return std::nullopt;
  }
  const auto [earliest, latest] = std::minmax_element(starts.begin(), starts.end());
  return static_cast<double>(*latest - *earliest) / 1e6;
}

RoundsSummary summarizeRounds(std::span<const Round> rounds) {
  std::vector<double> solo;
  std::vector<double> multiCore;
  std::vector<double> efficiency;
  for (const Round& round : rounds) {
    if (round.complete()) {
      solo.push_back(round.solo.score);
      multiCore.push_back(*round.multiCoreScore());
      efficiency.push_back(*round.efficiency());
    }
  }
  return {summarize(solo), summarize(multiCore), summarize(efficiency)};
}

}  // namespace orvendale::cli
