// Environment notes, the machine block and the run figures from fake /sys, /proc and /etc trees.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/system/EnvironmentNotes.h"
#include "cli/system/Machine.h"
#include "cli/run/RunFigures.h"

namespace orvendale::cli {
namespace {

using Files = std::vector<std::pair<std::string, std::string>>;  // path under the root, content

// A temporary tree of `files`, removed with the object.
struct FakeRoot {
  explicit FakeRoot(const Files& files) {
    for (const auto& [path, content] : files) {
      const std::filesystem::path file = base / path;
      std::filesystem::create_directories(file.parent_path());
      std::ofstream(file) << content;
    }
  }
  SystemRoots roots() const { return {base / "sys", base / "proc", base / "etc"}; }
  QTemporaryDir dir;
  std::filesystem::path base = dir.path().toStdString();
};

TEST(EnvironmentNotes, FromFakeSystemTrees) {
  const std::string cpu = "sys/devices/system/cpu/cpu", governor = "/cpufreq/scaling_governor";
  const std::string bat = "sys/class/power_supply/BAT0/", ac = "sys/class/power_supply/AC/";
  const std::pair<Files, std::vector<std::string>> cases[] = {
      // Each note must contain its text, in order.
      {{{cpu + "0" + governor, "performance\n"}, {"proc/loadavg", "0.20 0.31 0.40 1/180 42\n"}},
       {}},
      {{{cpu + "0" + governor, "powersave\n"}, {cpu + "1" + governor, "schedutil\n"}},
       {"\"powersave\" on 1 of 2 CPUs", "\"schedutil\" on 1 of 2 CPUs"}},
      {{{"proc/loadavg", "0.21 0.00 0.00 1/1 1\n"}}, {"load average 0.21"}},
      {{{"proc/loadavg", "high\n"}}, {}},
      {{{bat + "type", "Battery\n"}, {bat + "status", "Discharging\n"}}, {"battery"}},
      {{{ac + "type", "Mains\n"}, {ac + "online", "0\n"}}, {"battery"}},
      {{{"sys/class/power_supply/hid/type", "USB\n"},
        {"sys/class/power_supply/hid/status", "Discharging\n"}},
       {}},
  };
  for (const auto& [files, expected] : cases) {
    const std::vector<std::string> notes = environmentNotes(FakeRoot(files).roots());
    ASSERT_EQ(notes.size(), expected.size()) << files[0].first << ": " << notes.size() << " notes";
    for (std::size_t i = 0; i < notes.size(); ++i) {
      EXPECT_NE(notes[i].find(expected[i]), std::string::npos) << notes[i];
    }
  }
}

TEST(MachineAndRunFigures, FromFakeSystemTrees) {
  // Two SMT siblings of one core, and a core of a second package with the same core id.
  const FakeRoot root({{"proc/cpuinfo",
                        "processor\t: 0\nmodel name\t: Xeon @ 2.20GHz\nphysical id\t: 0\n"
                        "core id\t: 0\n\nprocessor\t: 1\nmodel name\t: Xeon @ 2.20GHz\n"
                        "physical id\t: 0\ncore id\t: 0\n\nprocessor\t: 2\nphysical id\t: 1\n"
                        "core id\t: 0\n"},
                       {"etc/os-release", "NAME=\"Debian\"\nPRETTY_NAME=\"Debian 12\"\n"},
                       {"proc/stat", "cpu  4705 356 584 3699 23 0 23 61 0 0\ncpu0 1 2 3 4\n"}});
  const Machine machine = describeMachine(root.roots());
  EXPECT_EQ(machine.cpuModel, "Xeon @ 2.20GHz");
  EXPECT_EQ(machine.logicalCpus, 3);
  EXPECT_EQ(machine.physicalCores, 2);
  EXPECT_EQ(machine.osRelease, "Debian 12");
  EXPECT_EQ(stealTicks(root.roots()), 61);

  // 10 s of wall time; steal counted at 100 ticks per second.
  const std::tuple<std::int64_t, std::int64_t, bool, std::optional<double>> figures[] = {
      {9'700'000'000, 103, false, 30.0},  // exactly 97 % of the wall time
      {9'690'000'000, 100, true, 0.0},
      {5'000'000'000, 99, true, std::nullopt},  // a counter that went back is no figure
  };
  for (const auto& [cpuNanoseconds, stealAfter, contended, stealMilliseconds] : figures) {
    const RunFigures run = figuresBetween(
        {1'000'000'000, 7, 100, 300'000'000},
        {1'000'000'000 + cpuNanoseconds, 12, stealAfter, 350'000'000}, 10'000'000'000, 100);
    EXPECT_DOUBLE_EQ(run.cpuShare, static_cast<double>(cpuNanoseconds) / 1e10);
    EXPECT_DOUBLE_EQ(run.kernelShare(), 50'000'000 / static_cast<double>(cpuNanoseconds));
    EXPECT_EQ(run.contended(), contended) << cpuNanoseconds;
    EXPECT_EQ(run.stealMilliseconds, stealMilliseconds) << cpuNanoseconds;
    EXPECT_EQ(run.involuntarySwitches, 5);
  }
}

}  // namespace
}  // namespace orvendale::cli
