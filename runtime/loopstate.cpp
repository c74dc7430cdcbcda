#include "runtime/loopstate.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace orvendale {

#if defined(__x86_64__)

namespace {
// The x87 status word's six exception flags (invalid, denormal, zero-divide, overflow,
// underflow, precision); the status tests read them beside MXCSR's.
constexpr std::uint16_t kX87Flags = 0x3f;

// vzeroupper is an AVX instruction: on a CPU without AVX it would fault.
const bool kHasAvx = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx") != 0;
}();

std::uint16_t x87ControlWord() {
  std::uint16_t word;
  asm volatile("fnstcw %0" : "=m"(word));
  return word;
}

std::uint16_t x87StatusWord() {
  std::uint16_t word;
  asm volatile("fnstsw %0" : "=am"(word));
  return word;
}

// Sets the x87 exception flags to `flags`. The status word can only be written through the
// whole x87 environment, so this is the slow path, taken only when the flags changed.
void setX87Flags(std::uint16_t flags) {
  struct {
    std::uint32_t control, status, tags, instructionPointer, instructionSelector, operandPointer,
        operandSelector;
  } environment;
  asm volatile("fnstenv %0" : "=m"(environment));
  environment.status = (environment.status & ~std::uint32_t{kX87Flags}) | flags;
  asm volatile("fldenv %0" : : "m"(environment));
}
}  // namespace

LoopStateGuard::LoopStateGuard() noexcept
    : mxcsr_(_mm_getcsr()), x87Control_(x87ControlWord()), x87Status_(x87StatusWord()) {}

LoopStateGuard::~LoopStateGuard() {
  if (_mm_getcsr() != mxcsr_) {
    _mm_setcsr(mxcsr_);
  }
  if (x87ControlWord() != x87Control_) {
    asm volatile("fldcw %0" : : "m"(x87Control_));
  }
  if (((x87StatusWord() ^ x87Status_) & kX87Flags) != 0) {
    setX87Flags(x87Status_ & kX87Flags);
  }
  if (kHasAvx) {
    // Our code is built for baseline x86-64: no 256-bit value is live here.
    asm volatile("vzeroupper");
  }
}

#else

LoopStateGuard::LoopStateGuard() noexcept {
  std::fegetenv(&environment_);
}

LoopStateGuard::~LoopStateGuard() {
  std::fesetenv(&environment_);
}

#endif

}  // namespace orvendale
