#include "cli/sensors/TickReader.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <utility>

#include "cli/sensors/CpuQuota.h"

namespace orvendale::cli {

namespace {
// Enough for a number, and for the whole of cpu.stat or /proc/pressure/cpu.
constexpr std::size_t kSmallFile = 64;
constexpr std::size_t kStatFile = 1024;

std::optional<std::int64_t> numberNow(const OpenSystemFile& file) {
  std::array<char, kSmallFile> buffer;
  return numberIn(file.read(buffer));
}

// `now` minus `before`; nothing where either is unknown or the counter went backwards (it was
// reset, or the file now belongs to something else).
std::optional<std::int64_t> increase(std::optional<std::int64_t> before,
                                     std::optional<std::int64_t> now) {
  if (!before || !now || *now < *before) {
    return std::nullopt;
  }
  return *now - *before;
}

std::optional<double> milliseconds(std::optional<std::int64_t> value, double unitsPerMillisecond) {
  return value ? std::optional(static_cast<double>(*value) / unitsPerMillisecond) : std::nullopt;
}

std::vector<OpenSystemFile> opened(const std::vector<std::filesystem::path>& files) {
  std::vector<OpenSystemFile> result;
  result.reserve(files.size());
  for (const std::filesystem::path& file : files) {
    result.emplace_back(file.empty() ? OpenSystemFile() : OpenSystemFile(file));
  }
  return result;
}
}  // namespace

OpenSystemFile::OpenSystemFile(const std::filesystem::path& file)
    : fd_(open(file.c_str(), O_RDONLY | O_CLOEXEC)) {}

OpenSystemFile::OpenSystemFile(OpenSystemFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

OpenSystemFile& OpenSystemFile::operator=(OpenSystemFile&& other) noexcept {
  std::swap(fd_, other.fd_);
  return *this;
}

OpenSystemFile::~OpenSystemFile() {
  if (fd_ >= 0) {
    close(fd_);
  }
}

std::string_view OpenSystemFile::read(std::span<char> buffer) const {
  if (fd_ < 0) {
    return {};
  }
  const ssize_t size = pread(fd_, buffer.data(), buffer.size(), 0);
  return size > 0 ? std::string_view(buffer.data(), static_cast<std::size_t>(size))
                  : std::string_view();
}

std::optional<std::int64_t> pressureTotal(std::string_view text) {
  const std::string_view line = text.substr(0, text.find('\n'));
  const std::size_t total = line.find(" total=");
  if (!line.starts_with("some ") || total == std::string_view::npos) {
    return std::nullopt;
  }
  return numberIn(line.substr(total + 7));
}

TickReader::TickReader(const SensorFiles& files, std::size_t seconds)
    : clockSource_(files.clockSource),
      clockOfCpu_(opened(files.clockOfCpu)),
      maxClockMhzOfCpu_(files.maxClockMhzOfCpu),
      thermalCounters_(opened(files.thermalThrottleCounters)) {
  for (const TemperatureSensor& sensor : files.temperatures) {
    temperatures_.emplace_back(sensor.file);
    temperatureNames_.push_back(sensor.name);
  }
  if (files.quotaStat) {
    quotaStat_ = OpenSystemFile(*files.quotaStat);
  }
  if (files.cpuPressure) {
    cpuPressure_ = OpenSystemFile(*files.cpuPressure);
  }
  seconds_.reserve(seconds);
}

TickReader::Counters TickReader::readCounters() const {
  Counters counters{};
  if (!thermalCounters_.empty()) {
    counters[kThermalEvents] = 0;
    for (const OpenSystemFile& file : thermalCounters_) {
      const std::optional<std::int64_t> count = numberNow(file);
      counters[kThermalEvents] = count && counters[kThermalEvents]
                                     ? std::optional(*counters[kThermalEvents] + *count)
                                     : std::nullopt;
    }
  }
  std::array<char, kStatFile> buffer;
  if (const std::optional<QuotaCounters> quota = quotaCounters(quotaStat_.read(buffer))) {
    counters[kQuotaPeriods] = quota->throttledPeriods;
    counters[kQuotaNanoseconds] = quota->throttledNanoseconds;
  }
  counters[kPressureMicroseconds] = pressureTotal(cpuPressure_.read(buffer));
  return counters;
}

TickReader::Counters TickReader::advanceCounters() {
  const Counters now = readCounters();
  Counters added{};
  for (std::size_t i = 0; i < kCounterCount; ++i) {
    added[i] = increase(last_[i], now[i]);
    total_[i] = total_[i] && added[i] ? std::optional(*total_[i] + *added[i]) : std::nullopt;
  }
  last_ = now;
  return added;
}

std::optional<double> TickReader::readTemperature(std::size_t& sensor) const {
  std::optional<double> hottest;
  for (std::size_t i = 0; i < temperatures_.size(); ++i) {
    const std::optional<std::int64_t> millidegrees = numberNow(temperatures_[i]);
    if (millidegrees && (!hottest || *millidegrees / 1000.0 > *hottest)) {
      hottest = static_cast<double>(*millidegrees) / 1000;
      sensor = i;
    }
  }
  return hottest;
}

void TickReader::start() {
  seconds_.clear();
  clockSum_ = 0;
  maxClockMhz_ = 0;
  clockSamples_ = 0;
  peakSensor_.reset();
  last_ = readCounters();
  // A counter the system gives starts the run's total at zero; one it does not stays unknown.
  for (std::size_t i = 0; i < kCounterCount; ++i) {
    total_[i] = last_[i] ? std::optional<std::int64_t>(0) : std::nullopt;
  }
}

void TickReader::sampleClock() {
  const int cpu = sched_getcpu();
  if (cpu < 0 || static_cast<std::size_t>(cpu) >= clockOfCpu_.size()) {
    return;
  }
  const auto index = static_cast<std::size_t>(cpu);
  const std::optional<std::int64_t> kilohertz = numberNow(clockOfCpu_[index]);
  if (!kilohertz || *kilohertz <= 0) {
    return;
  }
  clockSum_ += static_cast<double>(*kilohertz) / 1000;
  ++clockSamples_;
  if (index < maxClockMhzOfCpu_.size() && maxClockMhzOfCpu_[index]) {
    maxClockMhz_ = std::max(maxClockMhz_, *maxClockMhzOfCpu_[index]);
  }
}

void TickReader::endSecond() {
  if (seconds_.size() == seconds_.capacity()) {
    return;
  }
  SecondReadings second;
  if (clockSamples_ > 0) {
    second.clockMhz = clockSum_ / clockSamples_;
  }
  if (maxClockMhz_ > 0) {
    second.maxClockMhz = maxClockMhz_;
  }
  std::size_t sensor = 0;
  second.temperatureC = readTemperature(sensor);
  if (second.temperatureC && (!peakSensor_ || *second.temperatureC > peakTemperature_)) {
    peakTemperature_ = *second.temperatureC;
    peakSensor_ = sensor;
  }
  const Counters added = advanceCounters();
  second.thermalThrottleEvents = added[kThermalEvents];
  second.quotaThrottledPeriods = added[kQuotaPeriods];
  second.quotaThrottledMs = milliseconds(added[kQuotaNanoseconds], 1e6);
  // A whole second is 1000 ms: its share in percent is the milliseconds over ten.
  const std::optional<double> pressureMs = milliseconds(added[kPressureMicroseconds], 1e3);
  second.cpuPressurePercent = pressureMs ? std::optional(*pressureMs / 10) : std::nullopt;
  seconds_.push_back(second);
  clockSum_ = 0;
  maxClockMhz_ = 0;
  clockSamples_ = 0;
}

RunReadings TickReader::finish() {
  advanceCounters();
  RunReadings readings;
  readings.clockSource = clockSource_;
  if (peakSensor_) {
    readings.temperatureSensor = temperatureNames_[*peakSensor_];
  }
  readings.seconds = seconds_;
  readings.whole.thermalThrottleEvents = total_[kThermalEvents];
  readings.whole.quotaThrottledPeriods = total_[kQuotaPeriods];
  readings.whole.quotaThrottledMs = milliseconds(total_[kQuotaNanoseconds], 1e6);
  readings.whole.cpuPressureMs = milliseconds(total_[kPressureMicroseconds], 1e3);
  return readings;
}

}  // namespace orvendale::cli
