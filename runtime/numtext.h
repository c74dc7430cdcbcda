#pragma once

#include <cstdint>
#include <string>

namespace orvendale {

// A double as text: up to 15 significant digits, trailing zeros dropped, no zero before the
// decimal point ("-.999829015754428", ".5", "16"), "E" exponent form for very large or small
// magnitudes ("1E+20"). Whole values come out as plain digits.
std::string rtcVarStrFromVar(const double& value);

// A 16-bit integer as plain decimal digits ("-" for negatives).
std::string textFromInt16(std::int16_t value);

}  // namespace orvendale
