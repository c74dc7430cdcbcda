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
  for (const auto& [flag, code] : {std::pair<int, int>{FE_INVALID, kFloatingPoint},
                                   {FE_DIVBYZERO, kFloatingPoint},
                                   {FE_UNDERFLOW, 0}}) {
    clearFloatStatus();
    std::feraiseexcept(flag);
    EXPECT_EQ(errorCodeOf([] { testFloatStatus(); }), code) << "flag " << flag;
    EXPECT_EQ(errorCodeOf([] { testFloatStatus(); }), 0) << "flag left set: " << flag;
  }
}

TEST(NumberToText, FormatsLikeTheTextStageAndTheResultLabelExpect) {
  for (const auto& [value, text] : {std::pair{std::cos(3.1231), "-.999829015754428"},
                                    {-0.25, "-.25"},
                                    {0.0, "0"},
                                    {1.0 / 3.0, ".333333333333333"},
                                    {123456789012345.0, "123456789012345"},
                                    {1e20, "1E+20"},
                                    {1.5e-7, "1.5E-07"}}) {
    EXPECT_EQ(rtcVarStrFromVar(value), text) << value;
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
