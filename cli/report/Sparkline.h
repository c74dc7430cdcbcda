#pragma once

#include <span>
#include <string>

namespace orvendale::cli {

// The seconds drawn one character each, scaled to their own range: block characters on a UTF-8
// terminal, " .:-=+*#" otherwise; a flat series is drawn at mid height.
std::string sparkline(std::span<const double> seconds, bool utf8);

// Whether the locale's character set (LC_ALL, LC_CTYPE or LANG) is UTF-8.
bool utf8Locale();

}  // namespace orvendale::cli
