#include "cli/machine/Machine.h"

#include <gnu/libc-version.h>
#include <sys/utsname.h>

#include <QAbstractEventDispatcher>
#include <QtGlobal>
#include <set>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/sensors/SensorFiles.h"
#include "cli/system/Processors.h"
#include "platform/EventGate.h"

namespace orvendale::cli {

namespace {
constexpr std::size_t kSystemFileLimit = 1 << 20;

void readCpuInfo(const SystemRoots& roots, Machine& machine) {
  const std::optional<std::string> text = fileText(roots.proc / "cpuinfo", kSystemFileLimit);
  if (!text) {
    return;
  }
  int processors = 0;
  // A physical core is a pair of "physical id" and "core id"; SMT siblings share one.
  std::set<std::pair<std::string, std::string>> cores;
  std::string package;
  std::istringstream lines(*text);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) {
      continue;
    }
    const std::string key = trimmed(std::string_view(line).substr(0, colon));
    if (key == "processor") {
      ++processors;
    } else if (key == "physical id") {
      package = trimmed(std::string_view(line).substr(colon + 1));
    } else if (key == "core id") {
      cores.emplace(package, trimmed(std::string_view(line).substr(colon + 1)));
    } else if (key == "microcode" && !machine.microcode) {
      machine.microcode = trimmed(std::string_view(line).substr(colon + 1));
    } else if (key == "model name" && !machine.cpuModel) {
      const std::string value = trimmed(std::string_view(line).substr(colon + 1));
      if (!value.empty()) {
        machine.cpuModel = value;
      }
    }
  }
  if (processors > 0) {
    machine.logicalCpus = processors;
  }
  if (!cores.empty()) {
    machine.physicalCores = static_cast<int>(cores.size());
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
