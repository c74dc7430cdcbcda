#include "cli/report/Sparkline.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace orvendale::cli {

std::string sparkline(std::span<const double> seconds, bool utf8) {
  static constexpr std::string_view kBlocks[] = {"▁", "▂", "▃", "▄", "▅", "▆", "▇", "█"};
  static constexpr std::string_view kPlain = " .:-=+*#";
  if (seconds.empty()) {
    return {};
  }
  const auto [lowest, highest] = std::minmax_element(seconds.begin(), seconds.end());
  std::string line;
  for (const double second : seconds) {
    const double height = *highest > *lowest ? (second - *lowest) / (*highest - *lowest) : 0.5;
    const auto level = static_cast<std::size_t>(std::min(height * 8, 7.0));
    line += utf8 ? std::string(kBlocks[level]) : std::string(1, kPlain[level]);
  }
  return line;
}

bool utf8Locale() {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') {
      const std::string_view locale = value;
      return locale.find("UTF-8") != std::string_view::npos ||
             locale.find("utf8") != std::string_view::npos;
    }
  }
  return false;
}

}  // namespace orvendale::cli
