// What a run's readings cost in its tick handler: the clock at every tick (sampleClock) and the
// rest at every whole second (endSecond). On this machine's own files, and on a laptop's set of
// files (a clock per CPU, eight temperature sensors, core and package throttle counters) made of
// sysfs attributes that this machine has, so that each read goes through the same kernel path.
// What a real sensor's driver does on top (an ACPI thermal zone may take milliseconds) is not in
// these figures.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <filesystem>

#include "cli/sensors/SensorFiles.h"
#include "cli/sensors/TickReader.h"
#include "cli/system/Processors.h"

namespace {

using namespace orvendale::cli;

// A sysfs attribute holding a small number, standing in for a clock, a sensor or a counter.
const std::filesystem::path kStandIn = "/sys/devices/system/cpu/cpu0/topology/core_id";

// The seconds a reader holds before it starts again (untimed).
constexpr std::size_t kSecondsPerStart = 1000;

SensorFiles laptopFiles() {
  SensorFiles files = findSensorFiles(allowedCpus());
  files.clockSource = "scaling_cur_freq";
  files.clockOfCpu.assign(files.clockOfCpu.size(), kStandIn);
  files.temperatures.assign(8, TemperatureSensor{"stand-in", kStandIn});
  // Eight CPUs' core counters and one package counter.
  files.thermalThrottleCounters.assign(9, kStandIn);
  return files;
}

template <SensorFiles (*Files)()>
void BM_SampleClock(benchmark::State& state) {
  TickReader reader(Files(), 1);
  reader.start();
  for (auto _ : state) {
    reader.sampleClock();
  }
}

template <SensorFiles (*Files)()>
void BM_EndSecond(benchmark::State& state) {
  TickReader reader(Files(), kSecondsPerStart);
  reader.start();
  std::size_t seconds = 0;
  for (auto _ : state) {
    if (++seconds == kSecondsPerStart) {
      state.PauseTiming();
      reader.start();
      seconds = 0;
      state.ResumeTiming();
    }
    reader.endSecond();
  }
}

SensorFiles thisMachine() {
  return findSensorFiles(allowedCpus());
}

BENCHMARK(BM_SampleClock<thisMachine>)->Name("BM_SampleClock/this_machine");
BENCHMARK(BM_SampleClock<laptopFiles>)->Name("BM_SampleClock/laptop_files");
BENCHMARK(BM_EndSecond<thisMachine>)->Name("BM_EndSecond/this_machine");
BENCHMARK(BM_EndSecond<laptopFiles>)->Name("BM_EndSecond/laptop_files");

}  // namespace

BENCHMARK_MAIN();
