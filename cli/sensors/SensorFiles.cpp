#include "cli/sensors/SensorFiles.h"

#include <algorithm>
#include <array>
#include <set>
#include <string_view>

#include "cli/sensors/CpuQuota.h"

namespace orvendale::cli {

namespace {
constexpr std::size_t kStatLimit = 4096;

// hwmon drivers of processors' own sensors.
constexpr std::array<std::string_view, 5> kCpuHwmonNames = {"coretemp", "k10temp", "zenpower",
                                                            "cpu_thermal", "soc_thermal"};

// The clock files, preferred first: the kernel's idea of the current clock, then the hardware's
// (which only root may read on some drivers).
constexpr std::array<std::string_view, 2> kClockFiles = {"scaling_cur_freq", "cpuinfo_cur_freq"};

std::optional<std::int64_t> numberOf(const std::filesystem::path& file) {
  const std::optional<std::string> line = firstLine(file);
  return line ? numberIn(*line) : std::nullopt;
}

void findClocks(std::span<const int> allowedCpus, const SystemRoots& roots, SensorFiles& files) {
  const int highest =
      allowedCpus.empty() ? -1 : *std::max_element(allowedCpus.begin(), allowedCpus.end());
  files.clockOfCpu.assign(static_cast<std::size_t>(highest + 1), {});
  for (const std::string_view name : kClockFiles) {
    for (const int cpu : allowedCpus) {
      const std::filesystem::path file = cpuDirectory(roots, cpu) / "cpufreq" / name;
      if (cpu >= 0 && numberOf(file)) {
        files.clockOfCpu[static_cast<std::size_t>(cpu)] = file;
        files.clockSource = std::string(name);
      }
    }
    if (files.clockSource) {
      return;
    }
  }
}

void findThermalZones(const SystemRoots& roots, std::vector<TemperatureSensor>& sensors) {
  std::error_code error;
  for (const auto& zone : std::filesystem::directory_iterator(roots.sys / "class/thermal", error)) {
    const std::optional<std::string> type = firstLine(zone.path() / "type");
    if (zone.path().filename().string().starts_with("thermal_zone") && type &&
        numberOf(zone.path() / "temp")) {
      sensors.push_back({*type, zone.path() / "temp"});
    }
  }
}

void findCpuHwmon(const SystemRoots& roots, std::vector<TemperatureSensor>& sensors) {
  std::error_code error;
  for (const auto& hwmon : std::filesystem::directory_iterator(roots.sys / "class/hwmon", error)) {
    const std::optional<std::string> name = firstLine(hwmon.path() / "name");
    if (!name ||
        std::find(kCpuHwmonNames.begin(), kCpuHwmonNames.end(), *name) == kCpuHwmonNames.end()) {
      continue;
    }
    std::error_code inner;
    for (const auto& entry : std::filesystem::directory_iterator(hwmon.path(), inner)) {
      const std::string file = entry.path().filename().string();
      if (file.starts_with("temp") && file.ends_with("_input") && numberOf(entry.path())) {
        const std::string label = file.substr(0, file.size() - 6) + "_label";
        sensors.push_back(
            {*name + " " + firstLine(hwmon.path() / label).value_or(file), entry.path()});
      }
    }
  }
}

void findThermalThrottle(std::span<const int> allowedCpus, const SystemRoots& roots,
                         SensorFiles& files) {
  std::set<std::string> packages;
  for (const int cpu : allowedCpus) {
    const std::filesystem::path dir = cpuDirectory(roots, cpu);
    if (numberOf(dir / "thermal_throttle/core_throttle_count")) {
      files.thermalThrottleCounters.push_back(dir / "thermal_throttle/core_throttle_count");
    }
    const std::string package =
        firstLine(dir / "topology/physical_package_id").value_or("cpu" + std::to_string(cpu));
    if (numberOf(dir / "thermal_throttle/package_throttle_count") &&
        packages.insert(package).second) {
      files.thermalThrottleCounters.push_back(dir / "thermal_throttle/package_throttle_count");
    }
  }
}
}  // namespace

SensorFiles findSensorFiles(std::span<const int> allowedCpus, const SystemRoots& roots) {
  SensorFiles files;
  findClocks(allowedCpus, roots, files);
  files.maxClockMhzOfCpu = maxClocksMhz(roots);
  findThermalZones(roots, files.temperatures);
  findCpuHwmon(roots, files.temperatures);
  findThermalThrottle(allowedCpus, roots, files);
  if (const std::optional<CpuQuotaState> quota = cpuQuotaState(roots)) {
    const std::optional<std::string> stat = fileText(quota->statFile, kStatLimit);
    if (stat && quotaCounters(*stat)) {
      files.quotaStat = quota->statFile;
    }
  }
  if (fileText(roots.proc / "pressure/cpu", kStatLimit)) {
    files.cpuPressure = roots.proc / "pressure/cpu";
  }
  return files;
}

std::vector<std::optional<double>> maxClocksMhz(const SystemRoots& roots) {
  const std::vector<int> cpus = sysfsCpus(roots);
  std::vector<std::optional<double>> clocks(
      cpus.empty() ? 0 : static_cast<std::size_t>(cpus.back() + 1));
  for (const int cpu : cpus) {
    const std::optional<std::int64_t> kilohertz =
        numberOf(cpuDirectory(roots, cpu) / "cpufreq/cpuinfo_max_freq");
    if (kilohertz && *kilohertz > 0) {
      clocks[static_cast<std::size_t>(cpu)] = static_cast<double>(*kilohertz) / 1000;
    }
  }
  return clocks;
}

}  // namespace orvendale::cli
