#pragma once

#include <random>
#include <string>

namespace orvendale::testing {

// A text of `length` bytes with codes spread over 0..255, code 0 included.
inline std::string randomBytes(std::mt19937& engine, std::size_t length) {
  std::uniform_int_distribution<int> code(0, 255);
  std::string text(length, '\0');
  for (char& c : text) {
    c = static_cast<char>(code(engine));
  }
  return text;
}

inline std::string allCodes() {
  std::string text(256, '\0');
  for (int code = 0; code < 256; ++code) {
    text[static_cast<std::size_t>(code)] = static_cast<char>(code);
  }
  return text;
}

}  // namespace orvendale::testing
