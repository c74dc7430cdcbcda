#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

#include "runtime/errors.h"
#include "runtime/msgbox.h"
#include "runtime/numtext.h"
#include "support/runtime_probes.h"

namespace orvendale {
namespace {

using testing::errorCodeOf;

TEST(AddChecked16, AddsWithinRangeAndRaisesOverflowOutside) {
  EXPECT_EQ(addChecked16(32766, 1), 32767);
  EXPECT_EQ(addChecked16(-32767, -1), -32768);
  EXPECT_EQ(errorCodeOf([] { addChecked16(32767, 1); }), kOverflow);
  EXPECT_EQ(errorCodeOf([] { addChecked16(-32768, -1); }), kOverflow);
  EXPECT_STREQ(RuntimeError(kOverflow).what(), "Error 6: Overflow");
}

TEST(FloatStatus, RaisesOnFaultFlagsOnlyAndClearsThem) {
  const struct {
    int flag;
    int code;  // of the error it raises
  } cases[] = {
      {.flag = FE_INVALID, .code = kFloatingPoint},
      {.flag = FE_DIVBYZERO, .code = kFloatingPoint},
      {.flag = FE_UNDERFLOW, .code = 0},
  };
  for (const auto& c : cases) {
    clearFloatStatus();
    std::feraiseexcept(c.flag);
    EXPECT_EQ(errorCodeOf([] { testFloatStatus(); }), c.code) << "flag " << c.flag;
    EXPECT_EQ(errorCodeOf([] { testFloatStatus(); }), 0) << "flag left set: " << c.flag;
  }
}

TEST(NumberToText, FormatsLikeTheTextStageAndTheResultLabelExpect) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {.value = std::cos(3.1231), .text = "-.999829015754428"},
      {.value = -0.25, .text = "-.25"},
      {.value = 0.0, .text = "0"},
      {.value = 1.0 / 3.0, .text = ".333333333333333"},
      {.value = 123456789012345.0, .text = "123456789012345"},
      {.value = 1e20, .text = "1E+20"},
      {.value = 1.5e-7, .text = "1.5E-07"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rtcVarStrFromVar(c.value), c.text) << c.value;
  }
}

TEST(MsgBox, GoesToTheInstalledHandlerOnly) {
  ::testing::internal::CaptureStderr();
  {
    testing::MsgBoxRecorder recorder;
    rtcMsgBox("shown in a box");
    EXPECT_EQ(recorder.shown, std::vector<std::string>{"shown in a box"});
  }
  rtcMsgBox("no box");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "no box\n");
}

}  // namespace
}  // namespace orvendale
