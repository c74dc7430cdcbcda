// Environment notes and the machine block from fake /sys, /proc and /etc trees.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/system/EnvironmentNotes.h"
#include "cli/system/Machine.h"
#include "support/fake_system.h"

namespace orvendale::cli {
namespace {

using testing::FakeFiles;
using testing::FakeRoot;

TEST(EnvironmentNotes, FromFakeSystemTrees) {
  const std::string cpu = "sys/devices/system/cpu/cpu";
  const std::string governor = "/cpufreq/scaling_governor";
  const std::string battery = "sys/class/power_supply/BAT0/";
  const std::string mains = "sys/class/power_supply/AC/";
  struct Case {
    FakeFiles files;
    std::vector<std::string> notes;  // each note must contain its text, in order
  };
  const Case cases[] = {
      {.files = {{cpu + "0" + governor, "performance\n"},
                 {"proc/loadavg", "0.20 0.31 0.40 1/180 42\n"}},
       .notes = {}},
      {.files = {{cpu + "0" + governor, "powersave\n"}, {cpu + "1" + governor, "schedutil\n"}},
       .notes = {"\"powersave\" on 1 of 2 CPUs", "\"schedutil\" on 1 of 2 CPUs"}},
      {.files = {{"proc/loadavg", "0.21 0.00 0.00 1/1 1\n"}}, .notes = {"load average 0.21"}},
      {.files = {{"proc/loadavg", "high\n"}}, .notes = {}},
      {.files = {{battery + "type", "Battery\n"}, {battery + "status", "Discharging\n"}},
       .notes = {"battery"}},
      {.files = {{mains + "type", "Mains\n"}, {mains + "online", "0\n"}}, .notes = {"battery"}},
      {.files = {{"sys/class/power_supply/hid/type", "USB\n"},
                 {"sys/class/power_supply/hid/status", "Discharging\n"}},
       .notes = {}},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> notes = environmentNotes(FakeRoot(c.files).roots());
    ASSERT_EQ(notes.size(), c.notes.size()) << c.files[0].path << ": " << notes.size() << " notes";
    for (std::size_t i = 0; i < notes.size(); ++i) {
      EXPECT_NE(notes[i].find(c.notes[i]), std::string::npos) << notes[i];
    }
  }
}

TEST(Machine, FromFakeSystemTrees) {
  // Two SMT siblings of one core, and a core of a second package with the same core id.
  const FakeRoot root({{"proc/cpuinfo",
                        "processor\t: 0\nmodel name\t: Xeon @ 2.20GHz\nphysical id\t: 0\n"
                        "core id\t: 0\n\nprocessor\t: 1\nmodel name\t: Xeon @ 2.20GHz\n"
                        "physical id\t: 0\ncore id\t: 0\n\nprocessor\t: 2\nphysical id\t: 1\n"
                        "core id\t: 0\n"},
                       {"etc/os-release", "NAME=\"Debian\"\nPRETTY_NAME=\"Debian 12\"\n"}});
  const Machine machine = describeMachine(root.roots());
  EXPECT_EQ(machine.cpuModel, "Xeon @ 2.20GHz");
  EXPECT_EQ(machine.logicalCpus, 3);
  EXPECT_EQ(machine.physicalCores, 2);
  EXPECT_EQ(machine.osRelease, "Debian 12");
}

}  // namespace
}  // namespace orvendale::cli
