// The version record's numeric fields: 16-bit numbers, anything else an error.
#include <gtest/gtest.h>

#include <string>

#include "platform/version/VersionRecord.h"
#include "support/runtime_probes.h"

namespace orvendale::platform {
namespace {

struct FieldCase {
  const char* version;
  int value;  // of the second field
  int error;
};

// Catches a bound that refuses 32767.
TEST(VersionRecord, FieldsAreSixteenBitNumbers) {
  const FieldCase cases[] = {
      {.version = "1.32767", .value = 32767, .error = 0},
      {.version = "1.32768", .value = 0, .error = kOverflow},
      {.version = "1", .value = 0, .error = kInvalidArgument},
      {.version = "1.x", .value = 0, .error = kInvalidArgument},
  };
  for (const FieldCase& field : cases) {
    const auto record = VersionRecord::parse(std::string("v=") + field.version);
    int value = 0;
    const int error = testing::errorCodeOf([&] { value = record.versionField("v", 1); });
    EXPECT_EQ(value, field.value) << field.version;
    EXPECT_EQ(error, field.error) << field.version;
  }
}

}  // namespace
}  // namespace orvendale::platform
