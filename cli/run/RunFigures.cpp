#include "cli/run/RunFigures.h"

#include <sys/resource.h>
#include <unistd.h>

#include <charconv>
#include <string_view>

namespace orvendale::cli {

namespace {
std::int64_t nanoseconds(const timeval& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 +
         static_cast<std::int64_t>(time.tv_usec) * 1'000;
}
}  // namespace

std::optional<std::int64_t> stealTicks(const SystemRoots& roots) {
  // "cpu  user nice system idle iowait irq softirq steal guest guest_nice"
  const std::optional<std::string> line = firstLine(roots.proc / "stat");
  constexpr std::string_view kPrefix = "cpu ";
  if (!line || !line->starts_with(kPrefix)) {
    return std::nullopt;
  }
  constexpr int kStealField = 8;
  const char* position = line->data() + kPrefix.size();
  const char* end = line->data() + line->size();
  std::int64_t value = 0;
  for (int field = 1; field <= kStealField; ++field) {
    while (position != end && *position == ' ') {
      ++position;
    }
    const auto [stop, error] = std::from_chars(position, end, value);
    if (error != std::errc() || (stop != end && *stop != ' ') || value < 0) {
      return std::nullopt;
    }
    position = stop;
  }
  return value;
}

ProcessSample sampleProcess(const SystemRoots& roots) {
  ProcessSample sample;
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) == 0) {
    sample.systemNanoseconds = nanoseconds(usage.ru_stime);
    sample.cpuNanoseconds = nanoseconds(usage.ru_utime) + sample.systemNanoseconds;
    sample.involuntarySwitches = usage.ru_nivcsw;
  }
  sample.stealTicks = stealTicks(roots);
  return sample;
}

RunFigures figuresOf(std::int64_t cpuNanoseconds, std::int64_t systemNanoseconds,
                     std::int64_t involuntarySwitches, std::optional<double> stealMilliseconds,
                     std::int64_t wallNanoseconds) {
  RunFigures figures;
  figures.cpuNanoseconds = cpuNanoseconds;
  figures.cpuShare = wallNanoseconds > 0 ? static_cast<double>(cpuNanoseconds) /
                                               static_cast<double>(wallNanoseconds)
                                         : 0;
  figures.systemNanoseconds = systemNanoseconds;
  figures.involuntarySwitches = involuntarySwitches;
  figures.stealMilliseconds = stealMilliseconds;
  return figures;
}

RunFigures figuresBetween(const ProcessSample& before, const ProcessSample& after,
                          std::int64_t wallNanoseconds, long ticksPerSecond) {
  std::optional<double> stealMilliseconds;
  if (before.stealTicks && after.stealTicks && *after.stealTicks >= *before.stealTicks &&
      ticksPerSecond > 0) {
    stealMilliseconds = static_cast<double>(*after.stealTicks - *before.stealTicks) * 1000.0 /
                        static_cast<double>(ticksPerSecond);
  }
  return figuresOf(after.cpuNanoseconds - before.cpuNanoseconds,
                   after.systemNanoseconds - before.systemNanoseconds,
                   after.involuntarySwitches - before.involuntarySwitches, stealMilliseconds,
                   wallNanoseconds);
}

long clockTicksPerSecond() {
  return sysconf(_SC_CLK_TCK);
}

}  // namespace orvendale::cli
