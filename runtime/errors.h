#pragma once

#include <cstdint>
#include <stdexcept>

namespace orvendale {

// Numeric error codes raised by the runtime, the cipher and the benchmark.
enum ErrorCode : int {
  kInvalidArgument = 5,  // e.g. a negative text length or character code
  kOverflow = 6,         // a 16-bit or 32-bit integer overflowed
  kOutOfMemory = 7,      // an allocation failed
  kFloatingPoint = 16,   // invalid operation, division by zero or overflow flagged
};

// A failure: an exception that carries its numeric error code.
class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(int code);
  int code() const noexcept { return code_; }

 private:
  int code_;
};

// Short English text for an error code ("Overflow", ...).
const char* errorDescription(int code) noexcept;

[[noreturn]] void raiseError(int code);

// 16-bit signed addition that raises kOverflow instead of wrapping.
std::int16_t addChecked16(std::int16_t a, std::int16_t b);

// Clears the invalid, zero-divide and overflow flags of the floating-point status.
void clearFloatStatus() noexcept;

// Raises kFloatingPoint (and clears the flags) if the invalid-operation, zero-divide or
// overflow flag is set. Inexact and underflow results are not faults.
void testFloatStatus();

}  // namespace orvendale
