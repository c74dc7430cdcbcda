#include "runtime/errors.h"

#include <cfenv>
#include <string>

namespace orvendale {

namespace {
constexpr int kFloatFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

std::string messageFor(int code) {
  return "Error " + std::to_string(code) + ": " + errorDescription(code);
}
}  // namespace

RuntimeError::RuntimeError(int code) : std::runtime_error(messageFor(code)), code_(code) {}

const char* errorDescription(int code) noexcept {
  switch (code) {
    case kInvalidArgument:
      return "Invalid argument";
    case kOverflow:
      return "Overflow";
    case kOutOfMemory:
      return "Out of memory";
    case kFloatingPoint:
      return "Floating-point error";
    default:
      return "Unexpected error";
  }
}

void raiseError(int code) {
  throw RuntimeError(code);
}

std::int16_t addChecked16(std::int16_t a, std::int16_t b) {
  const int sum = a + b;
  if (sum < INT16_MIN || sum > INT16_MAX) {
    raiseError(kOverflow);
  }
  return static_cast<std::int16_t>(sum);
}

void clearFloatStatus() noexcept {
  std::feclearexcept(kFloatFaults);
}

void testFloatStatus() {
  if (std::fetestexcept(kFloatFaults) != 0) {
    std::feclearexcept(kFloatFaults);
    raiseError(kFloatingPoint);
  }
}

}  // namespace orvendale
