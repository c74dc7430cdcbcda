#include "cli/machine/EnvironmentNotes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <system_error>

#include "cli/sensors/CpuQuota.h"
#include "cli/sensors/SensorFiles.h"
#include "cli/stats/NumberText.h"
#include "cli/system/Processors.h"

namespace orvendale::cli {

namespace fs = std::filesystem;

namespace {
// Entries of `folder` whose names pass `wanted`, sorted by name; none when it cannot be listed.
template <typename Predicate>
std::vector<fs::path> entries(const fs::path& folder, Predicate wanted) {
  std::vector<fs::path> found;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (wanted(it->path().filename().string())) {
      found.push_back(it->path());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

void noteGovernors(const SystemRoots& roots, std::vector<std::string>& notes) {
  // Governor -> how many CPUs use it.
  std::map<std::string, int> governors;
  int cpus = 0;
  for (const int cpu : sysfsCpus(roots)) {
    const std::optional<std::string> governor =
        firstLine(cpuDirectory(roots, cpu) / "cpufreq/scaling_governor");
    if (governor && !governor->empty()) {
      ++governors[*governor];
      ++cpus;
    }
  }
  for (const auto& [governor, count] : governors) {
    if (governor != "performance") {
      notes.push_back("CPU frequency governor \"" + governor + "\" on " + std::to_string(count) +
                      " of " + std::to_string(cpus) +
                      " CPUs, not \"performance\": the clock speed may change during a run");
    }
  }
}

void noteLoad(const SystemRoots& roots, std::vector<std::string>& notes) {
  const std::optional<std::string> line = firstLine(roots.proc / "loadavg");
  if (!line) {
    return;
  }
  double load = 0;
  const char* begin = line->data();
  const char* end = begin + line->size();
  const auto [stop, error] = std::from_chars(begin, end, load);
  if (error != std::errc() || (stop != end && *stop != ' ') || !std::isfinite(load) || load < 0) {
    return;
  }
  if (load > kQuietLoadAverage) {
    notes.push_back("load average " + fixedText(load, 2) + " at the start, above " +
                    fixedText(kQuietLoadAverage, 1) + ": other work competes for the processor");
  }
}

void noteBattery(const SystemRoots& roots, std::vector<std::string>& notes) {
  bool onBattery = false;
  for (const fs::path& supply :
       entries(roots.sys / "class/power_supply", [](const std::string&) { return true; })) {
    const std::optional<std::string> type = firstLine(supply / "type");
    if (type == "Battery") {
      onBattery = onBattery || firstLine(supply / "status") == "Discharging";
    } else if (type == "Mains") {
      onBattery = onBattery || firstLine(supply / "online") == "0";
    }
  }
  if (onBattery) {
    notes.push_back("running on battery: the system may slow the processor to save power");
  }
}

void noteQuota(const SystemRoots& roots, std::vector<std::string>& notes) {
  const std::optional<CpuQuotaState> state = cpuQuotaState(roots);
  if (state && state->quota && state->quota->cpus() < 1) {
    notes.push_back("CPU quota of " + quotaText(state) +
                    ": the quota holds each run back every period, so a score measures the "
                    "quota, not the processor");
  }
}

void noteUnreadState(const SystemRoots& roots, std::vector<std::string>& notes) {
  if (!findSensorFiles(allowedCpus(), roots).reportsProcessorState()) {
    notes.push_back(
        "this system reports no CPU clock, temperature or thermal throttle counters, as is usual "
        "in a virtual machine: every run's clock, temperature and thermal throttling are unknown");
  }
}
}  // namespace

std::vector<std::string> environmentNotes(const SystemRoots& roots) {
  std::vector<std::string> notes;
  noteQuota(roots, notes);
  noteUnreadState(roots, notes);
  noteGovernors(roots, notes);
  noteLoad(roots, notes);
  noteBattery(roots, notes);
  return notes;
}

}  // namespace orvendale::cli
