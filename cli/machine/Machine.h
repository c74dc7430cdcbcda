#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/machine/MachineIdentity.h"
#include "cli/sensors/CpuQuota.h"
#include "cli/system/SystemFiles.h"

namespace orvendale::cli {

// The machine and build a score came from; the program's version and workload revision are the
// session's. What the system does not report is left empty (null in JSON, "unknown" in text),
// never guessed.
struct Machine {
  MachineIdentity identity;
  // /proc/cpuinfo "model name", or on Arm its cores' names; noted as another architecture's
  // where this program runs under an emulator and reads the host's.
  std::optional<std::string> cpuModel;
  std::optional<int> logicalCpus;    // /proc/cpuinfo "processor" entries
  std::optional<int> physicalCores;  // /proc/cpuinfo's distinct physical and core ids, or sysfs's
  std::optional<std::string> microcode;  // /proc/cpuinfo "microcode": the revision loaded
  std::optional<int> allowedCpus;        // the CPUs this process's affinity mask allows
  std::optional<std::string> kernel;     // uname: system name and release
  std::optional<std::string> osRelease;  // /etc/os-release PRETTY_NAME
  // The C library's version: the work loop's floating-point functions are its own.
  std::optional<std::string> libcVersion;
  // This process's CPU quota: absent where the cgroups do not say; its quota is none if unlimited.
  std::optional<CpuQuotaState> cpuQuota;
  std::vector<std::optional<double>> maxClockMhz;  // each CPU's, by CPU number
  std::string compiler;                            // from the build
  std::string compilerFlags;
  std::string qtVersion;                       // the Qt Core library in use
  std::optional<std::string> eventDispatcher;  // the event loop's dispatcher class
  std::string eventPump;  // "gated": no system call when nothing is pending; or "plain"
};

// Reads the processor and the system from `roots` and uname, the build from this program, and
// Qt's figures at run time (the event dispatcher exists once the application object does).
Machine describeMachine(const SystemRoots& roots = {});

// The compiler and its flags, as the build configured them.
std::string buildCompiler();
std::string buildCompilerFlags();

}  // namespace orvendale::cli
