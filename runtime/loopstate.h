#pragma once

#include <cstdint>

#if !defined(__x86_64__) && !defined(__aarch64__)
#include <cfenv>
#endif

namespace orvendale {

// Keeps the work loop's CPU state safe from whatever runs in the event pump.
//
// Toolkit code and event handlers may leave floating-point exception flags set, change the
// rounding mode or flush-to-zero, or leave the vector registers' upper halves dirty (a
// 256-bit instruction without vzeroupper), which makes every later SSE instruction of the
// loop pay a state-transition penalty. A guard taken before the pump gives the loop back, when
// it goes out of scope, the floating-point environment it had: exception flags, rounding mode,
// flush-to-zero and denormals-are-zero; on x86-64 with AVX it also cleans the upper halves. On
// AArch64 that state is two registers, FPCR (rounding, flush-to-zero, default NaN, trap enables)
// and FPSR (the cumulative exception flags), and there are no upper halves to clean.
//
// It is cheap: on x86-64 a handful of instructions, with a slow path only when the pump left an
// x87 fault flag set; on AArch64 four register reads, and a write only of what the pump changed.
class LoopStateGuard {
 public:
  LoopStateGuard() noexcept;
  ~LoopStateGuard();
  LoopStateGuard(const LoopStateGuard&) = delete;
  LoopStateGuard& operator=(const LoopStateGuard&) = delete;

 private:
#if defined(__x86_64__)
  std::uint32_t mxcsr_;
  std::uint16_t x87Control_;
#elif defined(__aarch64__)
  std::uint64_t fpcr_;
  std::uint64_t fpsr_;
#else
  std::fenv_t environment_;
#endif
};

}  // namespace orvendale
