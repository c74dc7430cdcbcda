#include "cli/machine/Machine.h"

#include <gnu/libc-version.h>
#include <sys/utsname.h>

#include <QAbstractEventDispatcher>
#include <QtGlobal>
#include <array>
#include <filesystem>
#include <set>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/machine/CpuModel.h"
#include "cli/sensors/SensorFiles.h"
#include "cli/system/Processors.h"
#include "platform/EventGate.h"

namespace orvendale::cli {

namespace {
constexpr std::size_t kSystemFileLimit = 1 << 20;

// What /proc/cpuinfo says of the processor, gathered field by field.
struct CpuInfo {
  int processors = 0;
  // A physical core is a pair of "physical id" and "core id"; SMT siblings share one.
  std::set<std::pair<std::string, std::string>> cores;
  std::string package;
  std::string implementer;            // of the current processor, on Arm
  std::vector<std::string> armCores;  // each processor's core, on Arm
  std::string_view architecture;      // whose fields these are, where a field tells
};

void readCpuInfoField(const std::string& key, const std::string& value, CpuInfo& info,
                      Machine& machine) {
  if (key == "processor") {
    ++info.processors;
  } else if (key == "physical id") {
    info.package = value;
  } else if (key == "core id") {
    info.cores.emplace(info.package, value);
  } else if (key == "microcode" && !machine.microcode) {
    machine.microcode = value;
  } else if (key == "model name" && !machine.cpuModel && !value.empty()) {
    machine.cpuModel = value;
  } else if (key == "vendor_id") {
    info.architecture = "amd64";
  } else if (key == "CPU implementer") {
    info.architecture = "arm64";
    info.implementer = value;
  } else if (key == "CPU part") {
    info.armCores.push_back(armCoreName(info.implementer, value));
  }
}

// Distinct cores by sysfs's topology, where cpuinfo names none (as on arm64): a core is its
// package, cluster and core id; SMT siblings share all three.
std::optional<int> topologyCores(const SystemRoots& roots) {
  std::set<std::array<std::string, 3>> cores;
  for (const int cpu : sysfsCpus(roots)) {
    const std::filesystem::path topology = cpuDirectory(roots, cpu) / "topology";
    if (const std::optional<std::string> core = firstLine(topology / "core_id")) {
      cores.insert({firstLine(topology / "physical_package_id").value_or(""),
                    firstLine(topology / "cluster_id").value_or(""), *core});
    }
  }
  return cores.empty() ? std::nullopt : std::optional(static_cast<int>(cores.size()));
}

// Under an emulator a program reads the host's cpuinfo: its model is named for what it is.
std::string foreignModel(const std::optional<std::string>& model, std::string_view architecture) {
  return (model ? *model + " (" : "unknown (") + std::string(architecture) +
         " processor information, read by this " + std::string(kBuildArchitecture) +
         " program: it runs under an emulator, whose speed its runs measure)";
}

void readCpuInfo(const SystemRoots& roots, Machine& machine) {
  const std::optional<std::string> text = fileText(roots.proc / "cpuinfo", kSystemFileLimit);
  if (!text) {
    return;
  }
  CpuInfo info;
  std::istringstream lines(*text);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos) {
      readCpuInfoField(trimmed(std::string_view(line).substr(0, colon)),
                       trimmed(std::string_view(line).substr(colon + 1)), info, machine);
    }
  }
  if (info.processors > 0) {
    machine.logicalCpus = info.processors;
  }
  machine.physicalCores = info.cores.empty() ? topologyCores(roots)
                                             : std::optional(static_cast<int>(info.cores.size()));
  if (!info.armCores.empty()) {
    machine.cpuModel = coresModel(info.armCores);
  }
  if (!info.architecture.empty() && !kBuildArchitecture.empty() &&
      info.architecture != kBuildArchitecture) {
    machine.cpuModel = foreignModel(machine.cpuModel, info.architecture);
  }
}

// PRETTY_NAME="Debian GNU/Linux 12 (bookworm)", quotes optional.
void readOsRelease(const SystemRoots& roots, Machine& machine) {
  const std::optional<std::string> text = fileText(roots.etc / "os-release", kSystemFileLimit);
  if (!text) {
    return;
  }
  std::istringstream lines(*text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("PRETTY_NAME=")) {
      continue;
    }
    std::string value = trimmed(std::string_view(line).substr(12));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    if (!value.empty()) {
      machine.osRelease = value;
    }
    return;
  }
}
}  // namespace

std::string buildCompiler() {
  return ORVENDALE_COMPILER;
}

std::string buildCompilerFlags() {
  return trimmed(ORVENDALE_COMPILER_FLAGS);
}

Machine describeMachine(const SystemRoots& roots) {
  Machine machine;
  machine.identity = identifyMachine(roots);
  readCpuInfo(roots, machine);
  readOsRelease(roots, machine);
  utsname names{};
  if (uname(&names) == 0) {
    machine.kernel = std::string(names.sysname) + " " + names.release;
  }
  machine.libcVersion = std::string("glibc ") + gnu_get_libc_version();
  machine.cpuQuota = cpuQuotaState(roots);
  machine.maxClockMhz = maxClocksMhz(roots);
  machine.compiler = buildCompiler();
  machine.compilerFlags = buildCompilerFlags();
  machine.qtVersion = qVersion();
  if (const QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
    machine.eventDispatcher = dispatcher->metaObject()->className();
  }
  machine.eventPump = platform::eventPumpKind();
  if (const std::vector<int> cpus = allowedCpus(); !cpus.empty()) {
    machine.allowedCpus = static_cast<int>(cpus.size());
  }
  return machine;
}

}  // namespace orvendale::cli
