#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "cli/system/SystemFiles.h"

namespace orvendale::cli {

// A CPU quota: the cgroup's processes together may run `quotaMicroseconds` of every
// `periodMicroseconds`, and are held back ("throttled") for the rest of the period once they have.
struct CpuQuota {
  std::int64_t quotaMicroseconds = 0;
  std::int64_t periodMicroseconds = 0;

  double cpus() const {
    return static_cast<double>(quotaMicroseconds) / static_cast<double>(periodMicroseconds);
  }
};

// What the cgroups say of this process's CPU time.
struct CpuQuotaState {
  int cgroupVersion = 2;
  std::optional<CpuQuota> quota;  // the tightest of its cgroup and their ancestors; none: unlimited
  std::filesystem::path statFile;  // cpu.stat of the cgroup whose quota binds, or its own
};

// From /proc/self/cgroup and /proc/self/mountinfo: the cpu controller of cgroup v1 where it is
// mounted, or else cgroup v2. Nothing when neither gives a readable quota.
std::optional<CpuQuotaState> cpuQuotaState(const SystemRoots& roots = {});

// The quota as the reports name it: "none", or "0.5 CPUs (50000 µs of every 100000 µs, cgroup
// v1)"; "unknown" where the cgroups do not say.
std::string quotaText(const std::optional<CpuQuotaState>& state);

// The throttling counters of a cpu.stat file.
struct QuotaCounters {
  std::int64_t throttledPeriods = 0;      // nr_throttled
  std::int64_t throttledNanoseconds = 0;  // throttled_usec (v2) or throttled_time (v1, in ns)
};

// The counters in the text of a cpu.stat file; nothing when it has not both.
std::optional<QuotaCounters> quotaCounters(std::string_view text);

}  // namespace orvendale::cli
