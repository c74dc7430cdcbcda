#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

#include "runtime/errors.h"
#include "runtime/msgbox.h"
#include "runtime/numtext.h"
#include "runtime/random.h"
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
                                   {FE_OVERFLOW, kFloatingPoint},
                                   {FE_INEXACT, 0},
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
  EXPECT_EQ(textFromInt16(-32768), "-32768");
}

// Pinned values of the generator, computed independently of this code.
TEST(Random, PinnedStreamReseedAndRandomize) {
  setRandomState({0x50000, 0.0f});
  EXPECT_FLOAT_EQ(rtcRandomNext(), 0.7055475115776062f);
  EXPECT_FLOAT_EQ(rtcRandomNext(1.0f), 0.5334240198135376f);  // positive argument: next value
  for (const float zero : {0.0f, -0.0f}) {  // zero repeats the last value without advancing
    EXPECT_FLOAT_EQ(rtcRandomNext(zero), 0.5334240198135376f);
  }
  EXPECT_FLOAT_EQ(rtcRandomNext(), 0.5795186161994934f);
  for (const std::uint32_t seed : {0u, 0xFFFFFFu}) {  // a negative argument alone sets the seed
    setRandomState({seed, 0.5f});
    EXPECT_EQ(rtcRandomNext(-1.0f), 0.2240070104598999f);
    EXPECT_EQ(rtcRandomNext(), 0.035845816135406494f);
    EXPECT_EQ(randomState().seed, 0x92d31u);
  }
  rtcRandomize(0.75f);  // keeps the low byte, mixes the value into the rest
  EXPECT_EQ(randomState().seed, 0x3fe831u);
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
