#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/system/SystemFiles.h"

namespace orvendale::cli {

// A temperature sensor: a thermal zone, or a processor's hwmon sensor.
struct TemperatureSensor {
  std::string name;            // the zone's type ("x86_pkg_temp"), or the hwmon's name and label
  std::filesystem::path file;  // millidegrees Celsius
};

// Where this machine reports what a run's readings take; found once, before the runs. A file
// that is absent, unreadable or holds no number is left out.
struct SensorFiles {
  std::optional<std::string> clockSource;               // the cpufreq file of the current clock
  std::vector<std::filesystem::path> clockOfCpu;        // by CPU number; empty where it has none
  std::vector<std::optional<double>> maxClockMhzOfCpu;  // by CPU number
  std::vector<TemperatureSensor> temperatures;
  // The allowed CPUs' core counters and one package counter of each of their packages.
  std::vector<std::filesystem::path> thermalThrottleCounters;
  std::optional<std::filesystem::path> quotaStat;    // cpu.stat of the binding cgroup
  std::optional<std::filesystem::path> cpuPressure;  // /proc/pressure/cpu

  // Whether the system reports any of the processor's own state: usually not in a virtual machine.
  bool reportsProcessorState() const {
    return clockSource || !temperatures.empty() || !thermalThrottleCounters.empty();
  }
};

// The files for a process that may run on `allowedCpus`.
SensorFiles findSensorFiles(std::span<const int> allowedCpus, const SystemRoots& roots = {});

// Each CPU's maximum clock (cpufreq cpuinfo_max_freq), by CPU number, for every CPU in sysfs.
std::vector<std::optional<double>> maxClocksMhz(const SystemRoots& roots = {});

}  // namespace orvendale::cli
