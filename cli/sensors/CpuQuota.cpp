#include "cli/sensors/CpuQuota.h"

#include <sstream>
#include <string>
#include <vector>

#include "cli/stats/NumberText.h"

namespace orvendale::cli {

namespace {
constexpr std::size_t kProcFileLimit = 1 << 20;

// Where a cgroup hierarchy is mounted: its mount point and the cgroup at its root.
struct CgroupMount {
  std::filesystem::path point;
  std::string root;
};

std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> result;
  for (std::string word; in >> word;) {
    result.push_back(word);
  }
  return result;
}

bool listsCpu(std::string_view commaList) {
  while (!commaList.empty()) {
    const std::size_t comma = commaList.find(',');
    if (commaList.substr(0, comma) == "cpu") {
      return true;
    }
    commaList.remove_prefix(comma == std::string_view::npos ? commaList.size() : comma + 1);
  }
  return false;
}

// A mount point as the fake or real tree holds it: /sys/... lies under roots.sys.
std::filesystem::path underRoots(const std::string& point, const SystemRoots& roots) {
  const std::filesystem::path path(point);
  const std::filesystem::path relative = path.lexically_relative("/sys");
  return relative.empty() || relative.native().starts_with("..") ? path : roots.sys / relative;
}

// The cgroup v1 hierarchy with the cpu controller (version 1), or the v2 one (version 2), from
// mountinfo: "ID PARENT MAJ:MIN ROOT POINT OPTIONS ... - TYPE SOURCE SUPER-OPTIONS".
std::optional<CgroupMount> cgroupMount(const std::string& mountinfo, int version,
                                       const SystemRoots& roots) {
  std::istringstream lines(mountinfo);
  for (std::string line; std::getline(lines, line);) {
    const std::vector<std::string> fields = words(line);
    std::size_t dash = 6;
    while (dash < fields.size() && fields[dash] != "-") {
      ++dash;
    }
    if (dash + 1 >= fields.size()) {
      continue;
    }
    const std::string& type = fields[dash + 1];
    const bool wanted =
        version == 2 ? type == "cgroup2"
                     : type == "cgroup" && dash + 3 < fields.size() && listsCpu(fields[dash + 3]);
    if (wanted) {
      return CgroupMount{underRoots(fields[4], roots), fields[3]};
    }
  }
  return std::nullopt;
}

// The process's cgroup path in the hierarchy of `version`, from /proc/self/cgroup lines
// "HIERARCHY:CONTROLLERS:PATH" (v2: "0::PATH").
std::optional<std::string> cgroupPath(const std::string& cgroups, int version) {
  std::istringstream lines(cgroups);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t first = line.find(':');
    const std::size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) {
      continue;
    }
    const std::string_view controllers =
        std::string_view(line).substr(first + 1, second - first - 1);
    if (version == 2 ? line.starts_with("0::") : listsCpu(controllers)) {
      return line.substr(second + 1);
    }
  }
  return std::nullopt;
}

// The quota set in one cgroup directory: nothing when unreadable, an absent quota when unlimited.
std::optional<std::optional<CpuQuota>> quotaIn(const std::filesystem::path& dir, int version) {
  std::optional<std::int64_t> quota;
  std::optional<std::int64_t> period;
  if (version == 2) {
    const std::optional<std::string> line = firstLine(dir / "cpu.max");
    const std::vector<std::string> fields = line ? words(*line) : std::vector<std::string>{};
    if (fields.size() != 2) {
      return std::nullopt;
    }
    quota = fields[0] == "max" ? std::optional<std::int64_t>(-1) : numberIn(fields[0]);
    period = numberIn(fields[1]);
  } else {
    const std::optional<std::string> quotaLine = firstLine(dir / "cpu.cfs_quota_us");
    const std::optional<std::string> periodLine = firstLine(dir / "cpu.cfs_period_us");
    quota = quotaLine ? numberIn(*quotaLine) : std::nullopt;
    period = periodLine ? numberIn(*periodLine) : std::nullopt;
  }
  if (!quota || !period || *period <= 0) {
    return std::nullopt;
  }
  return *quota < 0 ? std::optional<CpuQuota>() : CpuQuota{*quota, *period};
}

// The cgroup's quota, or its nearest ancestor's that is tighter, up to the mount point.
std::optional<CpuQuotaState> stateFrom(const std::filesystem::path& dir,
                                       const std::filesystem::path& top, int version) {
  const std::optional<std::optional<CpuQuota>> own = quotaIn(dir, version);
  if (!own) {
    return std::nullopt;
  }
  CpuQuotaState state{version, *own, dir / "cpu.stat"};
  for (std::filesystem::path level = dir; level != top && level.has_relative_path();) {
    level = level.parent_path();
    const std::optional<std::optional<CpuQuota>> quota = quotaIn(level, version);
    if (quota && *quota && (!state.quota || (*quota)->cpus() < state.quota->cpus())) {
      state.quota = *quota;
      state.statFile = level / "cpu.stat";
    }
  }
  return state;
}
}  // namespace

std::optional<CpuQuotaState> cpuQuotaState(const SystemRoots& roots) {
  const std::optional<std::string> mountinfo =
      fileText(roots.proc / "self/mountinfo", kProcFileLimit);
  const std::optional<std::string> cgroups = fileText(roots.proc / "self/cgroup", kProcFileLimit);
  if (!mountinfo || !cgroups) {
    return std::nullopt;
  }
  for (const int version : {1, 2}) {
    const std::optional<CgroupMount> mount = cgroupMount(*mountinfo, version, roots);
    const std::optional<std::string> path = cgroupPath(*cgroups, version);
    if (!mount || !path) {
      continue;
    }
    // Inside a cgroup namespace the path is already relative to the mount's root.
    const std::filesystem::path inMount = path->starts_with(mount->root) && mount->root != "/"
                                              ? path->substr(mount->root.size())
                                              : *path;
    const std::filesystem::path dir = (mount->point / inMount.relative_path()).lexically_normal();
    if (const std::optional<CpuQuotaState> state =
            stateFrom(dir, mount->point.lexically_normal(), version)) {
      return state;
    }
  }
  return std::nullopt;
}

std::string quotaText(const std::optional<CpuQuotaState>& state) {
  if (!state) {
    return "unknown";
  }
  if (!state->quota) {
    return "none";
  }
  const CpuQuota& quota = *state->quota;
  return fixedText(quota.cpus(), 2) + " CPUs (" + std::to_string(quota.quotaMicroseconds) +
         " µs of every " + std::to_string(quota.periodMicroseconds) + " µs, cgroup v" +
         std::to_string(state->cgroupVersion) + ")";
}

std::optional<QuotaCounters> quotaCounters(std::string_view text) {
  std::optional<std::int64_t> periods;
  std::optional<std::int64_t> nanoseconds;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) {
      continue;
    }
    const std::string_view key = line.substr(0, space);
    const std::optional<std::int64_t> value = numberIn(line.substr(space + 1));
    if (key == "nr_throttled") {
      periods = value;
    } else if (key == "throttled_usec" && value) {
      nanoseconds = *value * 1000;
    } else if (key == "throttled_time") {
      nanoseconds = value;
    }
  }
  if (!periods || !nanoseconds || *periods < 0 || *nanoseconds < 0) {
    return std::nullopt;
  }
  return QuotaCounters{*periods, *nanoseconds};
}

}  // namespace orvendale::cli
