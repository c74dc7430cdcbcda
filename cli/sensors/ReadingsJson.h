#pragma once

#include <QJsonObject>
#include <cstdint>
#include <optional>

#include "cli/sensors/Readings.h"

namespace orvendale::cli {

// A run's readings as its JSON object holds them: "readings" (each second's series, one entry
// per whole second, and the run's figures; null wherever the system gave nothing), and beside
// it "throttled" and "throttleCauses".
void insertReadings(const RunReadings& readings, std::int64_t wallNanoseconds, QJsonObject& run);

// The readings in a "readings" object that insertReadings wrote; nothing when it is not one.
std::optional<RunReadings> readingsOf(const QJsonObject& object);

}  // namespace orvendale::cli
