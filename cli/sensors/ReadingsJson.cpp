#include "cli/sensors/ReadingsJson.h"

#include <QJsonArray>
#include <QJsonValue>
#include <cmath>
#include <string>

namespace orvendale::cli {

namespace {
// A series of each second's readings: its key and the member it holds.
template <typename Value>
struct Series {
  const char* key;
  std::optional<Value> SecondReadings::*member;
};
constexpr Series<double> kDecimalSeries[] = {
    {"clockMHz", &SecondReadings::clockMhz},
    {"maxClockMHz", &SecondReadings::maxClockMhz},
    {"temperatureC", &SecondReadings::temperatureC},
    {"quotaThrottledMs", &SecondReadings::quotaThrottledMs},
    {"cpuPressurePercent", &SecondReadings::cpuPressurePercent},
};
constexpr Series<std::int64_t> kCountSeries[] = {
    {"thermalThrottleEvents", &SecondReadings::thermalThrottleEvents},
    {"quotaThrottledPeriods", &SecondReadings::quotaThrottledPeriods},
};

// To the thousandth: more digits are only noise.
QJsonValue valueOf(std::optional<double> value) {
  return value ? QJsonValue(std::round(*value * 1000) / 1000) : QJsonValue(QJsonValue::Null);
}

QJsonValue valueOf(std::optional<std::int64_t> value) {
  return value ? QJsonValue(static_cast<qint64>(*value)) : QJsonValue(QJsonValue::Null);
}

QJsonValue valueOf(const std::optional<std::string>& text) {
  return text ? QJsonValue(QString::fromStdString(*text)) : QJsonValue(QJsonValue::Null);
}

QJsonValue percentOf(std::optional<double> share) {
  return valueOf(share ? std::optional(100 * *share) : std::nullopt);
}

template <typename Value, std::size_t N>
void insertSeries(const Series<Value> (&table)[N], const std::vector<SecondReadings>& seconds,
                  QJsonObject& object) {
  for (const Series<Value>& series : table) {
    QJsonArray values;
    for (const SecondReadings& second : seconds) {
      values.append(valueOf(second.*series.member));
    }
    object.insert(series.key, values);
  }
}

// The series of `table` in `object` into `seconds`; false when one is not a list of numbers and
// nulls of the seconds' length.
template <typename Value, std::size_t N>
bool readSeries(const Series<Value> (&table)[N], const QJsonObject& object,
                std::vector<SecondReadings>& seconds) {
  for (const Series<Value>& series : table) {
    const QJsonArray values = object.value(series.key).toArray();
    if (static_cast<std::size_t>(values.size()) != seconds.size()) {
      return false;
    }
    for (std::size_t i = 0; i < seconds.size(); ++i) {
      const QJsonValue value = values[static_cast<qsizetype>(i)];
      if (!value.isNull() && !value.isDouble()) {
        return false;
      }
      if (value.isDouble()) {
        seconds[i].*series.member = static_cast<Value>(value.toDouble());
      }
    }
  }
  return true;
}

template <typename Value>
std::optional<Value> optionalOf(const QJsonValue& value) {
  return value.isDouble() ? std::optional(static_cast<Value>(value.toDouble())) : std::nullopt;
}

std::optional<std::string> textOf(const QJsonValue& value) {
  return value.isString() ? std::optional(value.toString().toStdString()) : std::nullopt;
}
}  // namespace

void insertReadings(const RunReadings& readings, std::int64_t wallNanoseconds, QJsonObject& run) {
  const ReadingsSummary summary = summarizeReadings(readings, wallNanoseconds);
  QJsonObject seconds;
  insertSeries(kDecimalSeries, readings.seconds, seconds);
  insertSeries(kCountSeries, readings.seconds, seconds);
  QJsonArray causes;
  for (const std::string_view cause : summary.throttleCauses) {
    causes.append(QString::fromUtf8(cause.data(), static_cast<qsizetype>(cause.size())));
  }
  run.insert("throttled", summary.throttled());
  run.insert("throttleCauses", causes);
  run.insert("readings", QJsonObject{
                             {"clockSource", valueOf(readings.clockSource)},
                             {"temperatureSensor", valueOf(readings.temperatureSensor)},
                             {"seconds", seconds},
                             {"minClockMHz", valueOf(summary.minClockMhz)},
                             {"meanClockMHz", valueOf(summary.meanClockMhz)},
                             {"maxClockMHz", valueOf(summary.maxClockMhz)},
                             {"peakTemperatureC", valueOf(summary.peakTemperatureC)},
                             {"thermalThrottleEvents", valueOf(summary.thermalThrottleEvents)},
                             {"quotaThrottledMs", valueOf(summary.quotaThrottledMs)},
                             {"quotaThrottledPeriods", valueOf(summary.quotaThrottledPeriods)},
                             {"quotaThrottledPercent", percentOf(summary.quotaThrottledShare)},
                             {"cpuPressurePercent", percentOf(summary.cpuPressureShare)},
                             {"cpuPressureMs", valueOf(readings.whole.cpuPressureMs)},
                         });
}

std::optional<RunReadings> readingsOf(const QJsonObject& object) {
  const QJsonValue seconds = object.value("seconds");
  if (!seconds.isObject()) {
    return std::nullopt;
  }
  RunReadings readings;
  readings.clockSource = textOf(object.value("clockSource"));
  readings.temperatureSensor = textOf(object.value("temperatureSensor"));
  readings.seconds.resize(
      static_cast<std::size_t>(seconds.toObject().value(kDecimalSeries[0].key).toArray().size()));
  if (!readSeries(kDecimalSeries, seconds.toObject(), readings.seconds) ||
      !readSeries(kCountSeries, seconds.toObject(), readings.seconds)) {
    return std::nullopt;
  }
  readings.whole.thermalThrottleEvents =
      optionalOf<std::int64_t>(object.value("thermalThrottleEvents"));
  readings.whole.quotaThrottledMs = optionalOf<double>(object.value("quotaThrottledMs"));
  readings.whole.quotaThrottledPeriods =
      optionalOf<std::int64_t>(object.value("quotaThrottledPeriods"));
  readings.whole.cpuPressureMs = optionalOf<double>(object.value("cpuPressureMs"));
  return readings;
}

}  // namespace orvendale::cli
