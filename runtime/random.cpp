#include "runtime/random.h"

#include <bit>

namespace orvendale {

namespace {
constexpr std::uint32_t kSeedMask = 0xFFFFFF;  // 24 bits
constexpr std::uint32_t kMultiplier = 0x43FD43FD;
constexpr std::uint32_t kIncrement = 0xC39EC3;
constexpr float kScale = 1.0f / 16777216.0f;  // 2^-24, exact

RandomState g_state{0x50000, 0.0f};

float advance() noexcept {
  g_state.seed = (g_state.seed * kMultiplier + kIncrement) & kSeedMask;
  g_state.lastValue = static_cast<float>(g_state.seed) * kScale;
  return g_state.lastValue;
}
}  // namespace

float rtcRandomNext() noexcept {
  return advance();
}

float rtcRandomNext(float x) noexcept {
  if (x == 0.0f) {
    return g_state.lastValue;
  }
  if (x < 0.0f) {
    const auto bits = std::bit_cast<std::uint32_t>(x);
    g_state.seed = (bits + (bits >> 24)) & kSeedMask;
  }
  return advance();
}

void rtcRandomize(float x) noexcept {
  const auto bits = std::bit_cast<std::uint64_t>(static_cast<double>(x));
  const auto high = static_cast<std::uint32_t>(bits >> 32);
  g_state.seed = (g_state.seed & 0xFF) | (((high ^ (high >> 16)) & 0xFFFF) << 8);
}

RandomState randomState() noexcept {
  return g_state;
}

void setRandomState(RandomState state) noexcept {
  g_state = {state.seed & kSeedMask, state.lastValue};
}

}  // namespace orvendale
