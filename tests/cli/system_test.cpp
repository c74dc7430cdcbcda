// Environment notes and the machine block from fake /sys, /proc and /etc trees.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/machine/EnvironmentNotes.h"
#include "cli/machine/Machine.h"
#include "support/fake_system.h"

namespace orvendale::cli {
namespace {

using testing::FakeFile;
using testing::FakeFiles;
using testing::FakeRoot;

FakeFiles quotaTree(const std::string& cpuMax) {
  return {{"proc/self/mountinfo", "40 31 0:33 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"},
          {"proc/self/cgroup", "0::/box\n"},
          {"sys/fs/cgroup/box/cpu.max", cpuMax}};
}

TEST(EnvironmentNotes, FromFakeSystemTrees) {
  const std::string cpu = "sys/devices/system/cpu/cpu";
  const std::string governor = "/cpufreq/scaling_governor";
  const std::string battery = "sys/class/power_supply/BAT0/";
  const std::string mains = "sys/class/power_supply/AC/";
  // A machine that reports its temperature, so that only the rows without it note its absence.
  const FakeFile zone = {"sys/class/thermal/thermal_zone0/temp", "40000\n"};
  const FakeFile zoneType = {"sys/class/thermal/thermal_zone0/type", "acpitz\n"};
  struct Case {
    FakeFiles files;
    std::vector<std::string> notes;  // each note must contain its text, in order
    bool reportsTemperature = true;
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
      // A quota below one CPU warned of; one above is no cause for a warning.
      {.files = quotaTree("50000 100000\n"), .notes = {"CPU quota of 0.50 CPUs"}},
      {.files = quotaTree("150000 100000\n"), .notes = {}},
      // A virtual machine's missing sensors said once, before the runs.
      {.files = {}, .notes = {"reports no CPU clock"}, .reportsTemperature = false},
  };
  for (const Case& c : cases) {
    FakeFiles files = c.files;
    if (c.reportsTemperature) {
      files.push_back(zone);
      files.push_back(zoneType);
    }
    const std::vector<std::string> notes = environmentNotes(FakeRoot(files).roots());
    ASSERT_EQ(notes.size(), c.notes.size()) << c.files[0].path << ": " << notes.size() << " notes";
    for (std::size_t i = 0; i < notes.size(); ++i) {
      EXPECT_NE(notes[i].find(c.notes[i]), std::string::npos) << notes[i];
    }
  }
}

TEST(Machine, FromFakeSystemTrees) {
  // Two SMT siblings of one core, and a core of a second package with the same core id.
  const FakeRoot root(
      {{"proc/cpuinfo",
        "processor\t: 0\nmodel name\t: Xeon @ 2.20GHz\nmicrocode\t: 0xb0\nphysical id\t: 0\n"
        "core id\t: 0\n\nprocessor\t: 1\nmodel name\t: Xeon @ 2.20GHz\n"
        "physical id\t: 0\ncore id\t: 0\n\nprocessor\t: 2\nphysical id\t: 1\n"
        "core id\t: 0\n"},
       {"etc/os-release", "NAME=\"Debian\"\nPRETTY_NAME=\"Debian 12\"\n"},
       {"sys/devices/system/cpu/cpu1/cpufreq/cpuinfo_max_freq", "3600000\n"},
       {"sys/devices/system/cpu/cpu0/online", "1\n"}});
  const Machine machine = describeMachine(root.roots());
  EXPECT_EQ(machine.cpuModel, "Xeon @ 2.20GHz");
  EXPECT_EQ(machine.logicalCpus, 3);
  EXPECT_EQ(machine.physicalCores, 2);
  EXPECT_EQ(machine.osRelease, "Debian 12");
  EXPECT_EQ(machine.microcode, "0xb0");
  // Each CPU's maximum by its number: a CPU without one is unknown, not another CPU's.
  EXPECT_EQ(machine.maxClockMhz, (std::vector<std::optional<double>>{std::nullopt, 3600}));
}

}  // namespace
}  // namespace orvendale::cli
