#pragma once

#include <string>

namespace orvendale::cli {

// A number with `decimals` digits after the point, independent of the locale.
std::string fixedText(double value, int decimals);

}  // namespace orvendale::cli
