#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/sensors/Readings.h"
#include "cli/sensors/SensorFiles.h"

namespace orvendale::cli {

// A system file held open for one run and read again from its start each time: the kernel
// makes its text anew at every read from offset 0.
class OpenSystemFile {
 public:
  OpenSystemFile() = default;
  explicit OpenSystemFile(const std::filesystem::path& file);
  OpenSystemFile(OpenSystemFile&& other) noexcept;
  OpenSystemFile& operator=(OpenSystemFile&& other) noexcept;
  ~OpenSystemFile();

  // The file's text now, as much as fits in `buffer`; empty when it cannot be read.
  std::string_view read(std::span<char> buffer) const;

 private:
  int fd_ = -1;
};

// The readings of one run. It opens its files when made, before the run, and allocates nothing
// after: the run's tick handler calls sampleClock at every tick and endSecond at every whole
// second; nothing of it runs inside a work iteration.
class TickReader {
 public:
  TickReader(const SensorFiles& files, std::size_t seconds);

  // Just before the run: the counters' starting values.
  void start();
  // At a tick: the clock of the CPU the run is on now.
  void sampleClock();
  // At the end of a whole second: its clock, the temperature and the counters' increase.
  void endSecond();
  // Just after the run: its readings, the counters' increase over the whole run included.
  RunReadings finish();

 private:
  // The counters a reading takes, as indices of Counters.
  enum Counter : std::size_t {
    kThermalEvents,
    kQuotaPeriods,
    kQuotaNanoseconds,
    kPressureMicroseconds,
    kCounterCount,
  };
  using Counters = std::array<std::optional<std::int64_t>, kCounterCount>;
  Counters readCounters() const;
  // The counters' increase since the last reading, added to the run's total.
  Counters advanceCounters();
  std::optional<double> readTemperature(std::size_t& sensor) const;

  std::optional<std::string> clockSource_;
  std::vector<OpenSystemFile> clockOfCpu_;
  std::vector<std::optional<double>> maxClockMhzOfCpu_;
  std::vector<OpenSystemFile> temperatures_;
  std::vector<std::string> temperatureNames_;
  std::vector<OpenSystemFile> thermalCounters_;
  OpenSystemFile quotaStat_;
  OpenSystemFile cpuPressure_;

  std::vector<SecondReadings> seconds_;  // reserved for the run's seconds
  Counters last_{};
  Counters total_{};
  double clockSum_ = 0;
  double maxClockMhz_ = 0;
  int clockSamples_ = 0;
  double peakTemperature_ = 0;
  std::optional<std::size_t> peakSensor_;
};

// The "total=" of the first line of /proc/pressure/cpu ("some avg10=... total=MICROSECONDS").
std::optional<std::int64_t> pressureTotal(std::string_view text);

}  // namespace orvendale::cli
