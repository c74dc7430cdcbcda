// Environment notes from fake /sys and /proc trees.
#include "cli/EnvironmentNotes.h"

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

std::vector<std::string> notesFor(const Files& files) {
  QTemporaryDir root;
  EXPECT_TRUE(root.isValid());
  const fs::path base = root.path().toStdString();
  for (const auto& [path, content] : files) {
    const fs::path file = base / path;
    fs::create_directories(file.parent_path());
    std::ofstream(file) << content;
  }
  return environmentNotes({base / "sys", base / "proc"});
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

}  // namespace
}  // namespace orvendale::cli
