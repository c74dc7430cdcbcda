#include "cli/stats/NumberText.h"

#include <array>
#include <charconv>

namespace orvendale::cli {

std::string fixedText(double value, int decimals) {
  std::array<char, 64> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                          std::chars_format::fixed, decimals);
  if (error != std::errc()) {
    return "?";
  }
  return std::string(buffer.data(), end);
}

}  // namespace orvendale::cli
