#include "runtime/errors.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <limits>

#include "support/error_code.h"

namespace orvendale {
namespace {

TEST(AddChecked16, AddsWithinRangeAndRaisesOverflowOutside) {
  EXPECT_EQ(addChecked16(99, 1), 100);
  EXPECT_EQ(addChecked16(32766, 1), 32767);
  EXPECT_EQ(addChecked16(-32767, -1), -32768);
  EXPECT_EQ(testing::errorCodeOf([] { addChecked16(32767, 1); }), kOverflow);
  EXPECT_EQ(testing::errorCodeOf([] { addChecked16(-32768, -1); }), kOverflow);
}

TEST(FloatStatus, RaisesOnFaultFlagsOnlyAndClearsThem) {
  struct Case {
    int flag;
    int expectedCode;
  };
  for (const Case c :
       {Case{FE_INVALID, kFloatingPoint}, Case{FE_DIVBYZERO, kFloatingPoint},
        Case{FE_OVERFLOW, kFloatingPoint}, Case{FE_INEXACT, 0}, Case{FE_UNDERFLOW, 0}}) {
    clearFloatStatus();
    std::feraiseexcept(c.flag);
    EXPECT_EQ(testing::errorCodeOf([] { testFloatStatus(); }), c.expectedCode) << "flag " << c.flag;
    EXPECT_EQ(testing::errorCodeOf([] { testFloatStatus(); }), 0) << "flags left set: " << c.flag;
  }
}

TEST(RuntimeError, CarriesCodeAndDescription) {
  const RuntimeError error(kOverflow);
  EXPECT_EQ(error.code(), 6);
  EXPECT_STREQ(error.what(), "Error 6: Overflow");
}

}  // namespace
}  // namespace orvendale
