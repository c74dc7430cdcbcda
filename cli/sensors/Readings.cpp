#include "cli/sensors/Readings.h"

#include <algorithm>

namespace orvendale::cli {

namespace {
// The lowest, mean and highest clock of the seconds that have one.
void summarizeClock(const std::vector<SecondReadings>& seconds, ReadingsSummary& summary) {
  double sum = 0;
  int count = 0;
  for (const SecondReadings& second : seconds) {
    if (second.clockMhz) {
      summary.minClockMhz =
          std::min(summary.minClockMhz.value_or(*second.clockMhz), *second.clockMhz);
      sum += *second.clockMhz;
      ++count;
    }
    if (second.maxClockMhz) {
      summary.maxClockMhz = std::max(summary.maxClockMhz.value_or(0), *second.maxClockMhz);
    }
  }
  if (count > 0) {
    summary.meanClockMhz = sum / count;
  }
}

bool clockBelowMaximum(const SecondReadings& second) {
  return second.clockMhz && second.maxClockMhz &&
         *second.clockMhz < kFullClockShare * *second.maxClockMhz;
}

std::optional<double> shareOfRun(std::optional<double> milliseconds, std::int64_t wallNanoseconds) {
  if (!milliseconds || wallNanoseconds <= 0) {
    return std::nullopt;
  }
  return *milliseconds * 1e6 / static_cast<double>(wallNanoseconds);
}
}  // namespace

ReadingsSummary summarizeReadings(const RunReadings& readings, std::int64_t wallNanoseconds) {
  ReadingsSummary summary;
  summarizeClock(readings.seconds, summary);
  for (const SecondReadings& second : readings.seconds) {
    if (second.temperatureC) {
      summary.peakTemperatureC =
          std::max(summary.peakTemperatureC.value_or(*second.temperatureC), *second.temperatureC);
    }
  }
  const RunCounters& whole = readings.whole;
  summary.thermalThrottleEvents = whole.thermalThrottleEvents;
  summary.quotaThrottledMs = whole.quotaThrottledMs;
  summary.quotaThrottledPeriods = whole.quotaThrottledPeriods;
  summary.quotaThrottledShare = shareOfRun(whole.quotaThrottledMs, wallNanoseconds);
  summary.cpuPressureShare = shareOfRun(whole.cpuPressureMs, wallNanoseconds);
  if (whole.thermalThrottleEvents.value_or(0) > 0) {
    summary.throttleCauses.push_back(kThermalCause);
  }
  if (std::any_of(readings.seconds.begin(), readings.seconds.end(), clockBelowMaximum)) {
    summary.throttleCauses.push_back(kClockCause);
  }
  if (whole.quotaThrottledPeriods.value_or(0) > 0 || whole.quotaThrottledMs.value_or(0) > 0) {
    summary.throttleCauses.push_back(kQuotaCause);
  }
  return summary;
}

}  // namespace orvendale::cli
