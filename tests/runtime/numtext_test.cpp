#include "runtime/numtext.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvendale {
namespace {

TEST(NumberToText, FormatsLikeTheTextStageAndTheResultLabelExpect) {
  struct Case {
    double value;
    const char* text;
  };
  for (const Case c : {
           Case{std::cos(3.1231), "-.999829015754428"},
           Case{0.5, ".5"},
           Case{-0.25, "-.25"},
           Case{16.0, "16"},
           Case{0.0, "0"},
           Case{1.0 / 3.0, ".333333333333333"},
           Case{160000.0, "160000"},  // a whole score: digits only
           Case{123456789012345.0, "123456789012345"},
           Case{1e20, "1E+20"},
           Case{1.5e-7, "1.5E-07"},
       }) {
    EXPECT_EQ(rtcVarStrFromVar(c.value), c.text) << c.value;
  }
  EXPECT_EQ(textFromInt16(100), "100");
  EXPECT_EQ(textFromInt16(-32768), "-32768");
}

}  // namespace
}  // namespace orvendale
