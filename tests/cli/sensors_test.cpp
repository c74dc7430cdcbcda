// The per-second readings from fake /sys and /proc trees, the CPU quota from fake cgroup trees,
// and the rules that call a run throttled.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "cli/sensors/CpuQuota.h"
#include "cli/sensors/Readings.h"
#include "cli/sensors/SensorFiles.h"
#include "cli/sensors/TickReader.h"
#include "cli/system/Processors.h"
#include "support/fake_system.h"

namespace orvendale::cli {
namespace {

using testing::FakeFile;
using testing::FakeFiles;
using testing::FakeRoot;

// A cgroup v1 cpu hierarchy at /sys/fs/cgroup/cpu holding the process in /bench.
FakeFiles cgroupV1(const std::string& quota, const std::string& stat) {
  return {{"proc/self/mountinfo", "32 31 0:29 / /sys/fs/cgroup/cpu rw - cgroup cgroup rw,cpu\n"},
          {"proc/self/cgroup", "1:cpu:/bench\n0::/\n"},
          {"sys/fs/cgroup/cpu/bench/cpu.cfs_quota_us", quota},
          {"sys/fs/cgroup/cpu/bench/cpu.cfs_period_us", "100000\n"},
          {"sys/fs/cgroup/cpu/bench/cpu.stat", stat}};
}

// One source of the readings: the file that gives it, its text at the run's start and at the
// end of its first second, and the figure read from the first second.
struct Source {
  std::string name;
  std::string file;                                   // under the fake root
  std::function<FakeFiles(const std::string&)> tree;  // the tree with the file holding a text
  std::string atStart;
  std::string atSecond;
  std::function<std::optional<double>(const SecondReadings&)> figure;
  std::optional<double> expected;  // from atStart and atSecond
  // What a second reads when the file goes from atSecond back to atStart: a counter gone
  // backwards is unknown, a gauge reads its new value.
  std::optional<double> backwards;
};

std::vector<Source> sources() {
  const auto single = [](std::string file) {
    return [file](const std::string& text) { return FakeFiles{{file, text}}; };
  };
  // Every CPU this process may run on has the clock file, whichever it runs the test on.
  const auto clocks = [](const std::string& text) {
    FakeFiles files;
    for (const int cpu : allowedCpus()) {
      const std::string dir = "sys/devices/system/cpu/cpu" + std::to_string(cpu) + "/cpufreq/";
      files.push_back({dir + "scaling_cur_freq", text});
      files.push_back({dir + "cpuinfo_max_freq", "3600000\n"});
    }
    return files;
  };
  const std::string throttle = "sys/devices/system/cpu/cpu" +
                               std::to_string(allowedCpus().front()) +
                               "/thermal_throttle/core_throttle_count";
  return {
      {"clock", "", clocks, "3000000\n", "2400000\n",
       [](const SecondReadings& s) { return s.clockMhz; }, 2400, 3000},
      {"temperature", "sys/class/thermal/thermal_zone0/temp",
       [](const std::string& text) {
         return FakeFiles{{"sys/class/thermal/thermal_zone0/type", "x86_pkg_temp\n"},
                          {"sys/class/thermal/thermal_zone0/temp", text}};
       },
       "55000\n", "71500\n", [](const SecondReadings& s) { return s.temperatureC; }, 71.5, 55},
      {"thermal throttle count", throttle, single(throttle), "4\n", "7\n",
       [](const SecondReadings& s) {
         return s.thermalThrottleEvents ? std::optional<double>(*s.thermalThrottleEvents)
                                        : std::nullopt;
       },
       3, std::nullopt},
      {"quota throttled time", "sys/fs/cgroup/cpu/bench/cpu.stat",
       [](const std::string& text) { return cgroupV1("50000\n", text); },
       "nr_periods 9\nnr_throttled 2\nthrottled_time 1000000\n",
       "nr_periods 19\nnr_throttled 12\nthrottled_time 501000000\n",
       [](const SecondReadings& s) { return s.quotaThrottledMs; }, 500, std::nullopt},
      {"cpu pressure", "proc/pressure/cpu", single("proc/pressure/cpu"),
       "some avg10=1.00 avg60=0.50 avg300=0.10 total=1000\nfull avg10=0 total=0\n",
       "some avg10=2.00 avg60=0.50 avg300=0.10 total=251000\nfull avg10=0 total=0\n",
       [](const SecondReadings& s) { return s.cpuPressurePercent; }, 25, std::nullopt},
  };
}

// Reads one second of the fake tree `files`, after writing `atSecond` over `file` when given.
SecondReadings firstSecond(const FakeFiles& files, const std::string& file,
                           const std::optional<std::string>& atSecond) {
  const FakeRoot root(files);
  TickReader reader(findSensorFiles(allowedCpus(), root.roots()), 1);
  reader.start();
  for (const FakeFile& each : files) {
    if (atSecond && (each.path == file || (file.empty() && each.path.ends_with("cur_freq")))) {
      std::ofstream(root.base / each.path) << *atSecond;
    }
  }
  reader.sampleClock();
  reader.endSecond();
  const RunReadings readings = reader.finish();
  return readings.seconds.empty() ? SecondReadings{} : readings.seconds.front();
}

TEST(TickReader, EachSourcePresentAbsentUnreadableGarbageOrGoingBackwards) {
  for (const Source& source : sources()) {
    // Faults caught: a reading misparsed or scaled wrongly (present); a missing or unreadable file
    // read as zero (absent, unreadable: a directory where the file should be, which even root
    // cannot read); garbage taken for a number; a counter reset read as a huge or negative
    // increase (backwards).
    FakeFiles unreadable = source.tree(source.atStart);
    for (FakeFile& file : unreadable) {
      if (file.path == source.file || (source.file.empty() && file.path.ends_with("cur_freq"))) {
        file.path += "/inside";
      }
    }
    struct Condition {
      std::string name;
      FakeFiles files;
      std::optional<std::string> atSecond;
      std::optional<double> expected;
    };
    const Condition conditions[] = {
        {"present", source.tree(source.atStart), source.atSecond, source.expected},
        {"absent", {}, std::nullopt, std::nullopt},
        {"unreadable", unreadable, std::nullopt, std::nullopt},
        {"garbage", source.tree(source.atStart), "12abc\n", std::nullopt},
        {"backwards", source.tree(source.atSecond), source.atStart, source.backwards},
    };
    for (const Condition& condition : conditions) {
      const std::optional<double> figure =
          source.figure(firstSecond(condition.files, source.file, condition.atSecond));
      EXPECT_EQ(figure, condition.expected) << source.name << ", " << condition.name;
    }
  }
}

TEST(CpuQuota, FromFakeCgroupTrees) {
  const std::string v2Mount = "40 31 0:33 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n";
  const std::string v2Stat = "usage_usec 5\nnr_periods 3\nnr_throttled 1\nthrottled_usec 250\n";
  struct Case {
    std::string name;  // the fault it catches
    FakeFiles files;
    std::string quota;  // quotaText
    std::string statFile;
  };
  const Case cases[] = {
      {"v1 unlimited read as a quota", cgroupV1("-1\n", "nr_throttled 0\nthrottled_time 0\n"),
       "none", "sys/fs/cgroup/cpu/bench/cpu.stat"},
      {"v1 quota over period", cgroupV1("50000\n", ""),
       "0.50 CPUs (50000 µs of every 100000 µs, cgroup v1)", "sys/fs/cgroup/cpu/bench/cpu.stat"},
      {"an ancestor's tighter quota missed, or its cpu.stat not read",
       {{"proc/self/mountinfo", v2Mount},
        {"proc/self/cgroup", "0::/pod/box\n"},
        {"sys/fs/cgroup/pod/box/cpu.max", "200000 100000\n"},
        {"sys/fs/cgroup/pod/box/cpu.stat", v2Stat},
        {"sys/fs/cgroup/pod/cpu.max", "150000 100000\n"},
        {"sys/fs/cgroup/pod/cpu.stat", v2Stat}},
       "1.50 CPUs (150000 µs of every 100000 µs, cgroup v2)",
       "sys/fs/cgroup/pod/cpu.stat"},
      {"a cgroup namespace's path joined twice to its mount",
       {{"proc/self/mountinfo", "40 31 0:33 /pod/box /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"},
        {"proc/self/cgroup", "0::/pod/box\n"},
        {"sys/fs/cgroup/cpu.max", "20000 100000\n"}},
       "0.20 CPUs (20000 µs of every 100000 µs, cgroup v2)",
       "sys/fs/cgroup/cpu.stat"},
      {"garbage taken for a quota",
       {{"proc/self/mountinfo", v2Mount},
        {"proc/self/cgroup", "0::/box\n"},
        {"sys/fs/cgroup/box/cpu.max", "lots 100000\n"}},
       "unknown",
       ""},
  };
  for (const Case& c : cases) {
    const FakeRoot root(c.files);
    const std::optional<CpuQuotaState> state = cpuQuotaState(root.roots());
    EXPECT_EQ(quotaText(state), c.quota) << c.name;
    const std::filesystem::path expected = c.statFile.empty() ? "" : root.base / c.statFile;
    EXPECT_EQ(state ? state->statFile : std::filesystem::path(), expected) << c.name;
  }
  // v2 gives microseconds, v1 nanoseconds; a file without both counters gives nothing.
  EXPECT_EQ(quotaCounters(v2Stat)->throttledNanoseconds, 250'000);
  EXPECT_FALSE(quotaCounters("usage_usec 5\nnr_throttled 1\n"));
}

SecondReadings second(std::optional<double> clock, std::optional<double> temperature) {
  SecondReadings second;
  second.clockMhz = clock;
  second.maxClockMhz = 3600;
  second.temperatureC = temperature;
  return second;
}

RunReadings readingsOf(std::vector<SecondReadings> seconds, std::optional<std::int64_t> thermal,
                       std::optional<std::int64_t> quotaPeriods) {
  RunReadings readings;
  readings.seconds = std::move(seconds);
  readings.whole.thermalThrottleEvents = thermal;
  readings.whole.quotaThrottledPeriods = quotaPeriods;
  readings.whole.quotaThrottledMs =
      quotaPeriods ? std::optional(50.0 * *quotaPeriods) : std::nullopt;
  return readings;
}

TEST(Readings, ThrottledOnlyForAClockDropThermalEventsOrQuotaThrottling) {
  struct Case {
    std::string name;  // the fault it catches
    RunReadings readings;
    std::vector<std::string_view> causes;
  };
  const Case cases[] = {
      {.name = "a run at full clock called throttled, or unknowns taken for a drop",
       .readings = readingsOf(
           {second(3600, 60), second(3241, std::nullopt), second(std::nullopt, 61)}, 0, 0),
       .causes = {}},
      {.name = "a governor's late first second missed",
       .readings = readingsOf({second(2000, 50), second(3600, 50)}, std::nullopt, std::nullopt),
       .causes = {kClockCause}},
      {.name = "heat with throttle counts missed (a rise alone is no cause)",
       .readings = readingsOf({second(3600, 70), second(3600, 98)}, 3, std::nullopt),
       .causes = {kThermalCause}},
      {.name = "quota throttling missed",
       .readings = readingsOf({second(3600, 60)}, std::nullopt, 98),
       .causes = {kQuotaCause}},
  };
  for (const Case& c : cases) {
    const ReadingsSummary summary = summarizeReadings(c.readings, 10'000'000'000);
    EXPECT_EQ(summary.throttleCauses, c.causes) << c.name;
  }
  const ReadingsSummary quota = summarizeReadings(cases[3].readings, 10'000'000'000);
  EXPECT_DOUBLE_EQ(*quota.quotaThrottledShare, 0.49);
  const ReadingsSummary first = summarizeReadings(cases[0].readings, 10'000'000'000);
  EXPECT_EQ(first.minClockMhz, 3241);
  EXPECT_DOUBLE_EQ(*first.meanClockMhz, 3420.5);
  EXPECT_EQ(first.peakTemperatureC, 61);
}

}  // namespace
}  // namespace orvendale::cli
