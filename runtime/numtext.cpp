#include "runtime/numtext.h"

#include <array>
#include <charconv>
#include <string_view>

namespace orvendale {

std::string rtcVarStrFromVar(const double& value) {
  // Room for sign, 15 digits, point, "e-308" and some slack.
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::general, 15);
  std::string_view digits(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));

  std::string text;
  text.reserve(digits.size());
  if (digits.starts_with('-')) {
    text += '-';
    digits.remove_prefix(1);
  }
  if (digits.starts_with("0.")) {
    digits.remove_prefix(1);
  }
  for (const char c : digits) {
    text += (c == 'e') ? 'E' : c;
  }
  return text;
}

std::string textFromInt16(std::int16_t value) {
  return std::to_string(value);
}

}  // namespace orvendale
