#pragma once

// A lean straight-line encryption for the benchmarks to compare against: the same generator
// calls, XOR and armour as Module1::EncryptString, in one function with no object. Takes its
// input by value, as the routine works on its own copy.

#include <algorithm>
#include <cstddef>
#include <string>

#include "runtime/random.h"

namespace orvendale::bench {

inline std::string leanEncrypt(std::string input) {
  rtcRandomize(rtcRandomNext(-1.0f));
  for (const char k : {'k', 'v', 't'}) {
    rtcRandomize(rtcRandomNext(-rtcRandomNext() * static_cast<float>(k)));
  }
  const std::size_t length = input.size();
  std::string out(length + (length + 2) / 3, ' ');
  char* o = out.data();
  for (std::size_t i = 0; i < length; i += 3) {
    int packed = 0;
    const std::size_t groupEnd = std::min(i + 3, length);
    for (std::size_t j = i; j < groupEnd; ++j) {
      const int c =
          static_cast<unsigned char>(input[j]) ^ static_cast<int>(rtcRandomNext() * 256.0f);
      *o++ = static_cast<char>((c & 63) + 59);
      packed |= (c >> 6) << (4 - 2 * static_cast<int>(j - i));
    }
    *o++ = static_cast<char>(packed + 59);
  }
  return out;
}

}  // namespace orvendale::bench
