// Environment notes, the machine block and the run figures from fake /sys, /proc and /etc trees.
#include "cli/EnvironmentNotes.h"
#include "cli/Machine.h"
#include "cli/RunFigures.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace orvendale::cli {
namespace {

namespace fs = std::filesystem;

using Files = std::vector<std::pair<std::string, std::string>>;  // path under the root, content

// A temporary tree of `files`, removed with the object.
class FakeRoot {
 public:
  explicit FakeRoot(const Files& files) {
    EXPECT_TRUE(dir_.isValid());
    for (const auto& [path, content] : files) {
      const fs::path file = base() / path;
      fs::create_directories(file.parent_path());
      std::ofstream(file) << content;
    }
  }
  fs::path base() const { return dir_.path().toStdString(); }
  SystemRoots roots() const { return {base() / "sys", base() / "proc", base() / "etc"}; }

 private:
  QTemporaryDir dir_;
};

std::vector<std::string> notesFor(const Files& files) {
  return environmentNotes(FakeRoot(files).roots());
}

TEST(EnvironmentNotes, FromFakeSystemTrees) {
  const std::string cpu0 = "sys/devices/system/cpu/cpu0/cpufreq/scaling_governor";
  const std::string cpu1 = "sys/devices/system/cpu/cpu1/cpufreq/scaling_governor";
  const std::string bat = "sys/class/power_supply/BAT0/";
  const std::string ac = "sys/class/power_supply/AC/";
  struct Case {
    const char* name;
    Files files;
    std::vector<std::string> expected;  // one text each note must contain, in order
  };
  const Case cases[] = {
      {"a quiet machine",
       {{cpu0, "performance\n"},
        {cpu1, "performance\n"},
        {"proc/loadavg", "0.20 0.31 0.40 1/180 4242\n"}},
       {}},
      {"nothing reported", {}, {}},
      {"powersave on both",
       {{cpu0, "powersave\n"}, {cpu1, "powersave\n"}},
       {"\"powersave\" on 2 of 2 CPUs"}},
      {"mixed governors",
       {{cpu0, "performance\n"},
        {cpu1, "schedutil\n"},
        {"sys/devices/system/cpu/cpufreq/policy0/scaling_governor", "ondemand\n"},
        {"sys/devices/system/cpu/cpuidle/scaling_governor", "ondemand\n"}},
       {"\"schedutil\" on 1 of 2 CPUs"}},
      {"busy", {{"proc/loadavg", "3.77 1.94 1.37 3/345 6789\n"}}, {"load average 3.77"}},
      {"barely busy", {{"proc/loadavg", "0.21 0.00 0.00 1/1 1\n"}}, {"load average 0.21"}},
      {"garbled load", {{"proc/loadavg", "high\n"}}, {}},
      {"load without a field", {{"proc/loadavg", ""}}, {}},
      {"infinite load", {{"proc/loadavg", "inf 0 0\n"}}, {}},
      {"battery discharging",
       {{bat + "type", "Battery\n"}, {bat + "status", "Discharging\n"}},
       {"battery"}},
      {"battery charging on mains",
       {{bat + "type", "Battery\n"},
        {bat + "status", "Charging\n"},
        {ac + "type", "Mains\n"},
        {ac + "online", "1\n"}},
       {}},
      {"mains unplugged", {{ac + "type", "Mains\n"}, {ac + "online", "0\n"}}, {"battery"}},
      {"a discharging non-battery is no battery",
       {{"sys/class/power_supply/hid-mouse/type", "USB\n"},
        {"sys/class/power_supply/hid-mouse/status", "Discharging\n"}},
       {}},
      {"everything at once",
       {{cpu0, "powersave\n"},
        {"proc/loadavg", "1.00 1 1 1/1 1\n"},
        {bat + "type", "Battery\n"},
        {bat + "status", "Discharging\n"}},
       {"powersave", "load average 1.00", "battery"}},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> notes = notesFor(c.files);
    ASSERT_EQ(notes.size(), c.expected.size()) << c.name << ": " << ::testing::PrintToString(notes);
    for (std::size_t i = 0; i < notes.size(); ++i) {
      EXPECT_NE(notes[i].find(c.expected[i]), std::string::npos) << c.name << ": " << notes[i];
    }
  }
}

TEST(MachineAndRunFigures, FromFakeSystemTrees) {
  const std::string intel =
      "processor\t: 0\nmodel name\t: Intel(R) Xeon(R) CPU @ 2.20GHz\n\n"
      "processor\t: 1\nmodel name\t: Intel(R) Xeon(R) CPU @ 2.20GHz\n";
  struct Case {
    const char* name;
    Files files;
    std::optional<std::string> cpuModel;
    std::optional<int> logicalCpus;
    std::optional<std::string> osRelease;
    std::optional<std::int64_t> stealTicks;
  };
  const Case cases[] = {
      {"a whole system",
       {{"proc/cpuinfo", intel},
        {"etc/os-release",
         "NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"},
        {"proc/stat", "cpu  4705 356 584 3699 23 0 23 61 0 0\ncpu0 1 2 3 4 5 6 7 8 9 10\n"}},
       "Intel(R) Xeon(R) CPU @ 2.20GHz",
       2,
       "Debian GNU/Linux 12 (bookworm)",
       61},
      {"nothing reported", {}, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
      // Some processors name no model; a kernel before steal accounting has seven fields.
      {"no model, unquoted name, no steal field",
       {{"proc/cpuinfo", "processor : 0\nBogoMIPS : 48.00\n\nprocessor : 1\n\nprocessor : 2\n"},
        {"etc/os-release", "PRETTY_NAME=Alpine\n"},
        {"proc/stat", "cpu  1 2 3 4 5 6 7\n"}},
       std::nullopt,
       3,
       "Alpine",
       std::nullopt},
      {"garbled",
       {{"proc/stat", "cpu  1 2 3 4 5 6 7 x\n"}, {"proc/cpuinfo", "no colons\n"}},
       std::nullopt,
       std::nullopt,
       std::nullopt,
       std::nullopt},
  };
  for (const Case& c : cases) {
    const FakeRoot root(c.files);
    const Machine machine = describeMachine(root.roots());
    EXPECT_EQ(machine.cpuModel, c.cpuModel) << c.name;
    EXPECT_EQ(machine.logicalCpus, c.logicalCpus) << c.name;
    EXPECT_EQ(machine.osRelease, c.osRelease) << c.name;
    EXPECT_EQ(stealTicks(root.roots()), c.stealTicks) << c.name;
  }

  // 10 s of wall time; steal counted at 100 ticks per second.
  struct Figures {
    std::int64_t cpuNanoseconds;
    std::optional<std::int64_t> stealBefore, stealAfter;
    bool contended;
    std::optional<double> stealMilliseconds;
  };
  const Figures figures[] = {
      {9'700'000'000, 100, 103, false, 30.0},  // exactly 97 % of the wall time
      {9'690'000'000, 100, 100, true, 0.0},
      {9'999'000'000, std::nullopt, 100, false, std::nullopt},
      {5'000'000'000, 100, 99, true, std::nullopt},  // a counter that went back is no figure
  };
  for (const Figures& f : figures) {
    const RunFigures run =
        figuresBetween({1'000'000'000, 7, f.stealBefore},
                       {1'000'000'000 + f.cpuNanoseconds, 12, f.stealAfter}, 10'000'000'000, 100);
    EXPECT_DOUBLE_EQ(run.cpuShare, static_cast<double>(f.cpuNanoseconds) / 1e10);
    EXPECT_EQ(run.contended(), f.contended) << f.cpuNanoseconds;
    EXPECT_EQ(run.stealMilliseconds, f.stealMilliseconds) << f.cpuNanoseconds;
    EXPECT_EQ(run.involuntarySwitches, 5);
  }
}

}  // namespace
}  // namespace orvendale::cli
