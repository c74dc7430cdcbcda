#include "runtime/loopstate.h"

#if defined(__x86_64__)
#include <immintrin.h>

#include <cfenv>
#endif

namespace orvendale {

#if defined(__x86_64__)

namespace {
// The flags the status tests treat as faults; on x86 their values are the x87 status bits.
constexpr std::uint16_t kX87Faults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// vzeroupper is an AVX instruction: on a CPU without AVX it would fault.
const bool kHasAvx = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx") != 0;
}();

// Clears the x87 fault flags. The status word can only be written through the whole x87
// environment, so this is the slow path, taken only when a flag is set.
void clearX87Faults() {
  struct {
    std::uint32_t control, status, tags, instructionPointer, instructionSelector, operandPointer,
        operandSelector;
  } environment;
  asm volatile("fnstenv %0" : "=m"(environment));
  environment.status &= ~std::uint32_t{kX87Faults};
  asm volatile("fldenv %0" : : "m"(environment));
}
}  // namespace

LoopStateGuard::LoopStateGuard() noexcept : mxcsr_(_mm_getcsr()) {
  asm volatile("fnstcw %0" : "=m"(x87Control_));
}

// Writing MXCSR and the x87 control word back is cheaper than reading them to compare. The x87
// status word is only read: the loop never enters the pump with an x87 fault flag set (its
// status test raises on one), so a fault flag found now was left by the pump. The loop's own
// arithmetic is SSE and reports in MXCSR, whose flags come back exactly.
LoopStateGuard::~LoopStateGuard() {
  _mm_setcsr(mxcsr_);
  asm volatile("fldcw %0" : : "m"(x87Control_));
  std::uint16_t x87Status;
  asm volatile("fnstsw %0" : "=am"(x87Status));
  if ((x87Status & kX87Faults) != 0) {
    clearX87Faults();
  }
  if (kHasAvx) {
    // Our code is built for baseline x86-64: no 256-bit value is live here.
    asm volatile("vzeroupper");
  }
}

#elif defined(__aarch64__)

namespace {
std::uint64_t readFpcr() {
  std::uint64_t value;
  asm volatile("mrs %0, fpcr" : "=r"(value));
  return value;
}
std::uint64_t readFpsr() {
  std::uint64_t value;
  asm volatile("mrs %0, fpsr" : "=r"(value));
  return value;
}
}  // namespace

LoopStateGuard::LoopStateGuard() noexcept : fpcr_(readFpcr()), fpsr_(readFpsr()) {}

// Writing FPCR is slow on many cores (the C library too writes it only when it changes), so each
// register is written back only when the pump changed it. FPSR comes back exactly: the flags a
// handler left are cleared, the loop's own are kept.
LoopStateGuard::~LoopStateGuard() {
  if (readFpcr() != fpcr_) {
    asm volatile("msr fpcr, %0" : : "r"(fpcr_));
  }
  if (readFpsr() != fpsr_) {
    asm volatile("msr fpsr, %0" : : "r"(fpsr_));
  }
}

#else

// Elsewhere the C library keeps the whole floating-point environment.
LoopStateGuard::LoopStateGuard() noexcept {
  std::fegetenv(&environment_);
}

LoopStateGuard::~LoopStateGuard() {
  std::fesetenv(&environment_);
}

#endif

}  // namespace orvendale
