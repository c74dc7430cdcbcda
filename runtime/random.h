#pragma once

// The process-wide pseudo-random generator shared by every encrypter object.
//
// State: a 24-bit seed and the last value returned. Each advance steps a linear
// congruential generator modulo 2^24 and yields seed / 2^24 as an exact float in [0, 1).
// Not thread-safe: the whole program runs on one thread.

#include <cstdint>

namespace orvendale {

// Advances the generator and returns the new value.
float rtcRandomNext() noexcept;

// x > 0 (or NaN): same as rtcRandomNext().
// x < 0: reseeds from the bit pattern of x, then advances; the result depends on x alone.
// x == 0 (either sign): returns the last value again without advancing.
float rtcRandomNext(float x) noexcept;

// Mixes the upper bits of x (widened to a double) into the seed, keeping its low byte.
void rtcRandomize(float x) noexcept;

// The raw generator state, for tests that need to save, pin or restore it.
struct RandomState {
  std::uint32_t seed;
  float lastValue;
};
RandomState randomState() noexcept;
void setRandomState(RandomState state) noexcept;

}  // namespace orvendale
