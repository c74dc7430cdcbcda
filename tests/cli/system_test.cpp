// Environment notes and the machine block from fake /sys, /proc and /etc trees.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "cli/machine/CpuModel.h"
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

// arm64's cpuinfo: no model name, each CPU's implementer and part.
std::string armCpuInfo(const std::vector<std::string>& parts) {
  std::string text;
  for (std::size_t cpu = 0; cpu < parts.size(); ++cpu) {
    text += "processor\t: " + std::to_string(cpu) +
            "\nBogoMIPS\t: 108.00\nFeatures\t: fp asimd evtstrm crc32 cpuid\n"
            "CPU implementer\t: 0x41\nCPU architecture: 8\nCPU variant\t: 0x0\nCPU part\t: " +
            parts[cpu] + "\nCPU revision\t: 3\n\n";
  }
  return text;
}

TEST(Machine, ProcessorModelAndCoresOfEachArchitecture) {
  struct Topology {
    std::string package, cluster, core;  // no cluster_id file where empty, as on older kernels
  };
  struct Case {
    const char* what;  // and the fault it catches
    std::string cpuinfo;
    std::vector<Topology> topology = {};  // by CPU number
    std::string architecture;             // whose cpuinfo it is
    std::string model;
    std::optional<int> physicalCores;
  };
  const std::string a72 = "0xd08";
  const Case cases[] = {
      {.what = "a Raspberry Pi 4: a core missing from the table, or a model name looked for",
       .cpuinfo = armCpuInfo({a72, a72, a72, a72}) + "Model\t: Raspberry Pi 4 Model B\n",
       .topology = {{"0", "0", "0"}, {"0", "0", "1"}, {"0", "0", "2"}, {"0", "0", "3"}},
       .architecture = "arm64",
       .model = "ARM Cortex-A72",
       .physicalCores = 4},
      {.what = "a two-socket Neoverse N1 server: cores told apart by their core id alone",
       .cpuinfo = armCpuInfo({"0xd0c", "0xd0c"}),
       .topology = {{"0", "", "0"}, {"1", "", "0"}},
       .architecture = "arm64",
       .model = "ARM Neoverse N1",
       .physicalCores = 2},
      {.what = "big.LITTLE: a model named by its first core, or the cluster left out",
       .cpuinfo = armCpuInfo({"0xd03", "0xd03", a72, a72}),
       .topology = {{"0", "0", "0"}, {"0", "0", "1"}, {"0", "1", "0"}, {"0", "1", "1"}},
       .architecture = "arm64",
       .model = "2 x ARM Cortex-A53 + 2 x ARM Cortex-A72",
       .physicalCores = 4},
      {.what = "an unknown part and no topology: a name or a core count guessed",
       .cpuinfo = armCpuInfo({"0xfff"}),
       .architecture = "arm64",
       .model = "unknown (implementer 0x41, part 0xfff)",
       .physicalCores = std::nullopt},
      {.what = "an amd64 processor: its model and core ids",
       .cpuinfo =
           "processor\t: 0\nvendor_id\t: AuthenticAMD\nmodel name\t: AMD EPYC\ncore id\t: 0\n",
       .architecture = "amd64",
       .model = "AMD EPYC",
       .physicalCores = 1},
  };
  for (const Case& c : cases) {
    FakeFiles files = {{"proc/cpuinfo", c.cpuinfo}};
    for (std::size_t cpu = 0; cpu < c.topology.size(); ++cpu) {
      const std::string folder = "sys/devices/system/cpu/cpu" + std::to_string(cpu) + "/topology/";
      files.push_back({folder + "physical_package_id", c.topology[cpu].package});
      files.push_back({folder + "core_id", c.topology[cpu].core});
      if (!c.topology[cpu].cluster.empty()) {
        files.push_back({folder + "cluster_id", c.topology[cpu].cluster});
      }
    }
    const Machine machine = describeMachine(FakeRoot(files).roots());
    ASSERT_TRUE(machine.cpuModel) << c.what;
    EXPECT_TRUE(machine.cpuModel->starts_with(c.model)) << c.what << ": " << *machine.cpuModel;
    // Read by the other architecture's build, as under an emulator, the model says whose it is
    // (catches an arm64 program claiming the host's amd64 processor as its own).
    const bool foreign = c.architecture != kBuildArchitecture;
    EXPECT_EQ(
        machine.cpuModel->find(c.architecture + " processor information") != std::string::npos,
        foreign)
        << c.what << ": " << *machine.cpuModel;
    EXPECT_EQ(machine.physicalCores, c.physicalCores) << c.what;
  }
}

}  // namespace
}  // namespace orvendale::cli
