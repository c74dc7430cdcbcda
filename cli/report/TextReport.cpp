#include "cli/report/TextReport.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "cli/system/ProgramName.h"

namespace orvendale::cli {

namespace {
std::string known(const std::optional<std::string>& value) {
  return value ? *value : "unknown";
}

std::string figuresText(const RunFigures& figures) {
  std::string text = "; CPU " + fixedText(static_cast<double>(figures.cpuNanoseconds) / 1e6, 1) +
                     " ms, " + fixedText(100 * figures.cpuShare, 1) +
                     " % of the wall time, kernel " +
                     fixedText(static_cast<double>(figures.systemNanoseconds) / 1e6, 1) + " ms (" +
                     fixedText(100 * figures.kernelShare(), 2) + " % of the CPU time), ";
  text += figures.stealMilliseconds ? "steal " + fixedText(*figures.stealMilliseconds, 1) + " ms"
                                    : std::string("steal not reported");
  text += ", " + std::to_string(figures.involuntarySwitches) + " involuntary context switches";
  return figures.contended() ? text + ", contended" : text;
}

std::string throttledText(const ReadingsSummary& summary) {
  std::string causes;
  for (const std::string_view cause : summary.throttleCauses) {
    causes += (causes.empty() ? "" : ", ") + std::string(cause);
  }
  return ", throttled (" + causes + ")";
}

std::string measured(std::optional<double> value, int decimals, const std::string& unit) {
  return value ? fixedText(*value, decimals) + unit : "unknown";
}

std::string clockText(const ReadingsSummary& summary, const RunReadings& readings) {
  if (!summary.minClockMhz) {
    return "clock unknown";
  }
  return "clock " + measured(summary.minClockMhz, 0, " MHz") + " lowest, " +
         measured(summary.meanClockMhz, 0, " MHz") + " mean, of " +
         measured(summary.maxClockMhz, 0, " MHz") + " maximum (" + known(readings.clockSource) +
         ")";
}

std::string quotaThrottleText(const ReadingsSummary& summary) {
  if (!summary.quotaThrottledMs) {
    return "CPU quota throttling unknown";
  }
  return "CPU quota throttled " + fixedText(*summary.quotaThrottledMs, 1) + " ms (" +
         measured(summary.quotaThrottledShare ? std::optional(100 * *summary.quotaThrottledShare)
                                              : std::nullopt,
                  1, " %") +
         " of the run) in " +
         (summary.quotaThrottledPeriods ? std::to_string(*summary.quotaThrottledPeriods)
                                        : std::string("unknown")) +
         " periods";
}
}  // namespace

std::string readingsLine(const RunResult& run) {
  const ReadingsSummary summary = *run.readingsSummary();
  const RunReadings& readings = *run.readings;
  std::string line = "  readings: " + clockText(summary, readings) + "; temperature " +
                     measured(summary.peakTemperatureC, 1, " °C");
  if (summary.peakTemperatureC) {
    line += " peak (" + known(readings.temperatureSensor) + ")";
  }
  line += "; thermal throttle events " +
          (summary.thermalThrottleEvents ? std::to_string(*summary.thermalThrottleEvents)
                                         : std::string("unknown")) +
          "; " + quotaThrottleText(summary) + "; CPU pressure " +
          measured(summary.cpuPressureShare ? std::optional(100 * *summary.cpuPressureShare)
                                            : std::nullopt,
                   1, " %");
  return summary.throttled() ? line + throttledText(summary) : line;
}

std::string runLine(const std::string& label, const RunResult& run, int workloadRevision) {
  std::string line = label + ": ";
  const std::string timing = fixedText(run.iterations, 0) + " iterations in " +
                             fixedText(static_cast<double>(run.wallNanoseconds) / 1e6, 1) + " ms";
  switch (run.status) {
    case RunStatus::kScored:
      line += "score " + fixedText(run.score, 0) + " (workload revision " +
              std::to_string(workloadRevision) + "), " + timing + ", " +
              fixedText(run.nanosecondsPerIteration(), 1) + " ns per iteration";
      break;
    case RunStatus::kInterrupted:
      line += "interrupted after " + std::to_string(run.ticks) + " of " +
              std::to_string(BenchmarkEngine::kTickLimit) + " ticks, not scored";
      break;
    case RunStatus::kInvalid:
      line += "invalid, not scored: the last iteration left \"" + run.detail +
              "\" instead of the workload's known result (" + timing + ")";
      break;
    case RunStatus::kFailed:
      return line + "failed, not scored: " + run.detail;
  }
  if (run.figures) {
    line += figuresText(*run.figures);
  }
  if (run.throttled()) {
    line += throttledText(*run.readingsSummary());
  }
  if (run.secondIterations.size() >= 2) {
    line += "\n" + secondsLine(run);
  }
  return run.readings ? line + "\n" + readingsLine(run) : line;
}

namespace {
// "; clock ▇▇▇▆ (2400 to 3600 MHz)": each second's clock where the system gives it, else nothing.
std::string clockSecondsText(const RunResult& run, bool utf8) {
  std::vector<double> clocks;
  for (const SecondReadings& second :
       run.readings ? run.readings->seconds : std::vector<SecondReadings>{}) {
    if (!second.clockMhz) {
      return "";
    }
    clocks.push_back(*second.clockMhz);
  }
  if (clocks.size() < 2) {
    return "";
  }
  const auto [lowest, highest] = std::minmax_element(clocks.begin(), clocks.end());
  return "; clock " + sparkline(clocks, utf8) + " (" + fixedText(*lowest, 0) + " to " +
         fixedText(*highest, 0) + " MHz)";
}
}  // namespace

std::string secondsLine(const RunResult& run, bool utf8) {
  const auto [lowest, highest] =
      std::minmax_element(run.secondIterations.begin(), run.secondIterations.end());
  std::string line = "  iterations per second: " + sparkline(run.secondIterations, utf8) + " (" +
                     fixedText(*lowest, 0) + " to " + fixedText(*highest, 0) + ")";
  if (const std::optional<double> value = run.steadiness()) {
    line += ", steadiness " + fixedText(*value, 3);
  }
  if (run.uneven()) {
    line += ", uneven";
  }
  return line + clockSecondsText(run, utf8);
}

std::string medianText(const Summary& summary) {
  const double rounded = std::floor(summary.median + 0.5);
  const std::string text = fixedText(rounded, 0);
  return rounded == summary.median ? text : text + " (mean of the middle two, rounded half up)";
}

std::string spreadText(const Summary& summary, int decimals) {
  std::string text = "median " +
                     (decimals == 0 ? medianText(summary) : fixedText(summary.median, decimals)) +
                     ", minimum " + fixedText(summary.minimum, decimals) + ", maximum " +
                     fixedText(summary.maximum, decimals);
  if (summary.cvPercent) {
    text += ", coefficient of variation " + fixedText(*summary.cvPercent, 2) + " %";
  }
  return text;
}

std::string summaryLine(const Summary& summary, int workloadRevision, int contendedRuns,
                        int unevenRuns, int throttledRuns) {
  return "scores of " + std::to_string(summary.count) + (summary.count == 1 ? " run" : " runs") +
         " (workload revision " + std::to_string(workloadRevision) +
         "): " + spreadText(summary, 0) + "; " + std::to_string(contendedRuns) + " of " +
         std::to_string(summary.count) + " runs contended, " + std::to_string(unevenRuns) +
         " uneven, " + std::to_string(throttledRuns) + " throttled";
}

std::string roundLine(const std::string& label, const Round& round) {
  const std::optional<double> efficiency = round.efficiency();
  if (!efficiency) {
    return label + ": no multi-core score: not every run of the round was scored";
  }
  std::string line = label + ": multi-core score " + fixedText(*round.multiCoreScore(), 0) +
                     " from " + std::to_string(round.workers.size()) + " workers, " +
                     fixedText(*round.meanPerWorker(), 0) + " per worker, scaling efficiency " +
                     fixedText(*efficiency, 3) + " against the solo score " +
                     fixedText(round.solo.score, 0);
  if (const std::optional<double> skew = round.startSkewMilliseconds()) {
    line += "; start skew " + fixedText(*skew, 2) + " ms";
  }
  return line;
}

std::string roundsSummaryLines(const RoundsSummary& summary, int workloadRevision) {
  if (!summary.solo) {
    return "";
  }
  const std::string rounds = std::to_string(summary.solo->count) +
                             (summary.solo->count == 1 ? " complete round" : " complete rounds");
  return "solo scores of " + rounds + " (workload revision " + std::to_string(workloadRevision) +
         "): " + spreadText(*summary.solo, 0) +
         "\nmulti-core scores: " + spreadText(*summary.multiCore, 0) +
         "\nscaling efficiency: " + spreadText(*summary.efficiency, 3) + "\n";
}

namespace {
// "3600 MHz on 8 CPUs", "3600 MHz on 4 CPUs, 2400 MHz on 4 CPUs, unknown on 1 CPU", or "unknown".
std::string maxClocksText(const std::vector<std::optional<double>>& clocks) {
  if (std::none_of(clocks.begin(), clocks.end(), [](const auto& clock) { return clock; })) {
    return "unknown";
  }
  std::vector<std::pair<std::optional<double>, int>> groups;
  for (const std::optional<double>& clock : clocks) {
    const auto group = std::find_if(groups.begin(), groups.end(),
                                    [&](const auto& known) { return known.first == clock; });
    if (group == groups.end()) {
      groups.emplace_back(clock, 1);
    } else {
      ++group->second;
    }
  }
  std::string text;
  for (const auto& [clock, count] : groups) {
    text += (text.empty() ? "" : ", ") + (clock ? fixedText(*clock, 0) + " MHz" : "unknown") +
            " on " + std::to_string(count) + (count == 1 ? " CPU" : " CPUs");
  }
  return text;
}
}  // namespace

std::string machineLines(const Session& session) {
  const Machine& machine = session.machine;
  const auto count = [](std::optional<int> value) {
    return value ? std::to_string(*value) : std::string("unknown");
  };
  const std::string cpus = count(machine.logicalCpus) + " logical CPUs (" +
                           count(machine.physicalCores) + " physical cores, " +
                           count(machine.allowedCpus) + " in this process's affinity mask)";
  return "machine: " + known(machine.cpuModel) + ", " + cpus + "; microcode " +
         known(machine.microcode) + "; " + known(machine.kernel) + "; " + known(machine.osRelease) +
         "; " + known(machine.libcVersion) + "\n" + "limits: CPU quota " +
         quotaText(machine.cpuQuota) + "; maximum clock " + maxClocksText(machine.maxClockMhz) +
         "\n" + "build: " + kProgramName + " " + session.programVersion + ", workload revision " +
         std::to_string(session.workloadRevision) + "; " + machine.compiler + " " +
         machine.compilerFlags + "; Qt " + machine.qtVersion + ", event dispatcher " +
         known(machine.eventDispatcher) + ", " + machine.eventPump + " event pump\n";
}

}  // namespace orvendale::cli
