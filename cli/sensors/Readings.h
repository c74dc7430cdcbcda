#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvendale::cli {

// One whole second of a run as the system reported it; each figure is absent where the system
// does not give it (or gave something unreadable, or a counter that went backwards).
struct SecondReadings {
  std::optional<double> clockMhz;      // the run's CPU, the mean of the second's ticks
  std::optional<double> maxClockMhz;   // the highest maximum of the CPUs read in the second
  std::optional<double> temperatureC;  // the hottest sensor at the second's end
  std::optional<std::int64_t> thermalThrottleEvents;  // added to the thermal throttle counters
  std::optional<double> quotaThrottledMs;             // the CPU quota held the cgroup back
  std::optional<std::int64_t> quotaThrottledPeriods;
  std::optional<double> cpuPressurePercent;  // of the second, some task waited for a CPU
};

// The counters' increase over a whole run, from just before its first iteration to just after
// its last.
struct RunCounters {
  std::optional<std::int64_t> thermalThrottleEvents;
  std::optional<double> quotaThrottledMs;
  std::optional<std::int64_t> quotaThrottledPeriods;
  std::optional<double> cpuPressureMs;
};

// What the clock, the heat and the CPU quota did during one run.
struct RunReadings {
  std::optional<std::string> clockSource;        // the cpufreq file read, "scaling_cur_freq"
  std::optional<std::string> temperatureSensor;  // the sensor of the peak temperature
  std::vector<SecondReadings> seconds;
  RunCounters whole;
};

// A second whose clock is below this share of its CPU's maximum ran slowed.
inline constexpr double kFullClockShare = 0.9;

// Why a run counts as throttled; the texts are those of the reports.
inline constexpr std::string_view kThermalCause = "thermal";
inline constexpr std::string_view kClockCause = "clock below 90 % of maximum";
inline constexpr std::string_view kQuotaCause = "cpu quota";

// A run's readings in a few figures, and whether it was throttled and why.
struct ReadingsSummary {
  std::optional<double> minClockMhz;  // the slowest second's
  std::optional<double> meanClockMhz;
  std::optional<double> maxClockMhz;
  std::optional<double> peakTemperatureC;
  std::optional<std::int64_t> thermalThrottleEvents;
  std::optional<double> quotaThrottledMs;
  std::optional<std::int64_t> quotaThrottledPeriods;
  std::optional<double> quotaThrottledShare;  // of the run's wall time
  std::optional<double> cpuPressureShare;     // of the run's wall time
  std::vector<std::string_view> throttleCauses;

  bool throttled() const { return !throttleCauses.empty(); }
};

// The summary of a run that lasted `wallNanoseconds`. It is throttled when the thermal throttle
// counters rose, when a second's clock was below kFullClockShare of its maximum, or when the CPU
// quota held it back in any period.
ReadingsSummary summarizeReadings(const RunReadings& readings, std::int64_t wallNanoseconds);

}  // namespace orvendale::cli
