#include "runtime/random.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvendale {
namespace {

// Expected values come from tests/cipher/reference_values.py, an independent model.
class RandomTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = randomState(); }
  void TearDown() override { setRandomState(saved_); }

 private:
  RandomState saved_{};
};

TEST_F(RandomTest, FreshStateGivesPinnedStream) {
  setRandomState({0x50000, 0.0f});
  EXPECT_FLOAT_EQ(rtcRandomNext(), 0.7055475115776062f);
  EXPECT_FLOAT_EQ(rtcRandomNext(), 0.5334240198135376f);
  EXPECT_FLOAT_EQ(rtcRandomNext(1.0f), 0.5795186161994934f);  // positive argument: next value
}

TEST_F(RandomTest, NegativeArgumentReseedsFromArgumentAlone) {
  for (const std::uint32_t seed : {0u, 0x123456u, 0xFFFFFFu}) {
    setRandomState({seed, 0.5f});
    EXPECT_EQ(rtcRandomNext(-1.0f), 0.2240070104598999f);
    EXPECT_EQ(rtcRandomNext(), 0.035845816135406494f);
    EXPECT_EQ(randomState().seed, 0x92d31u);
  }
}

TEST_F(RandomTest, RandomizeKeepsLowByteAndMixesHighBits) {
  setRandomState({0x92d31, 0.0f});
  rtcRandomize(0.75f);
  EXPECT_EQ(randomState().seed, 0x3fe831u);
}

TEST_F(RandomTest, ZeroOfEitherSignRepeatsLastValueWithoutAdvancing) {
  for (const float zero : {0.0f, -0.0f}) {
    setRandomState({0x50000, 0.0f});
    const float first = rtcRandomNext();
    const auto seed = randomState().seed;
    EXPECT_EQ(rtcRandomNext(zero), first);
    EXPECT_EQ(randomState().seed, seed);
  }
}

TEST_F(RandomTest, ValuesStayInUnitIntervalAndExact) {
  setRandomState({0, 0.0f});
  for (int i = 0; i < 100000; ++i) {
    const float value = rtcRandomNext();
    ASSERT_GE(value, 0.0f);
    ASSERT_LT(value, 1.0f);
    ASSERT_EQ(value * 16777216.0f, std::floor(value * 16777216.0f));
  }
}

}  // namespace
}  // namespace orvendale
