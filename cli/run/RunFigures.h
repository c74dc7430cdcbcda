#pragma once

#include <cstdint>
#include <optional>

#include "cli/system/SystemFiles.h"

namespace orvendale::cli {

// A run that had less than this share of a processor for its wall time lost the processor to
// other work: it measured the machine's load as much as the processor.
inline constexpr double kUncontendedCpuShare = 0.97;

// The process's and the system's counters at one moment, taken before and after a run (never
// during its work iterations).
struct ProcessSample {
  std::int64_t cpuNanoseconds = 0;  // user and system time of the process (getrusage)
  std::int64_t involuntarySwitches = 0;
  std::optional<std::int64_t> stealTicks;  // all CPUs, clock ticks (/proc/stat "cpu" line)
  std::int64_t systemNanoseconds = 0;      // the part of cpuNanoseconds spent in the kernel
};

ProcessSample sampleProcess(const SystemRoots& roots = {});

// The steal time field of /proc/stat's "cpu" line, where the kernel reports it.
std::optional<std::int64_t> stealTicks(const SystemRoots& roots);

// What the processor gave one run.
struct RunFigures {
  std::int64_t cpuNanoseconds = 0;
  double cpuShare = 0;                 // CPU time over wall time
  std::int64_t systemNanoseconds = 0;  // kernel time: system calls, faults, interrupts
  std::optional<double> stealMilliseconds;
  std::int64_t involuntarySwitches = 0;

  bool contended() const { return cpuShare < kUncontendedCpuShare; }
  // Kernel time over CPU time: what the run measured of the kernel rather than the processor.
  double kernelShare() const {
    return cpuNanoseconds > 0
               ? static_cast<double>(systemNanoseconds) / static_cast<double>(cpuNanoseconds)
               : 0;
  }
};

// The figures of a run that lasted `wallNanoseconds`, from its own counts.
RunFigures figuresOf(std::int64_t cpuNanoseconds, std::int64_t systemNanoseconds,
                     std::int64_t involuntarySwitches, std::optional<double> stealMilliseconds,
                     std::int64_t wallNanoseconds);

// The figures between two samples `wallNanoseconds` apart; `ticksPerSecond` converts steal time.
RunFigures figuresBetween(const ProcessSample& before, const ProcessSample& after,
                          std::int64_t wallNanoseconds, long ticksPerSecond);

// The kernel's clock ticks per second (sysconf(_SC_CLK_TCK)).
long clockTicksPerSecond();

}  // namespace orvendale::cli
