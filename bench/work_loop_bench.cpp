// One work iteration as the engine runs it, its two stages on their own, and a lean
// straight-line version of the same iteration in the same binary. The event pump is left out:
// the host's doEvents() does nothing, or only what a pump's CPU-state guard and a misbehaving
// handler would do.
#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>
#include <utility>

#include "bench/lean_encrypt.h"
#include "benchmark/BenchmarkEngine.h"
#include "benchmark/WorkIteration.h"
#include "runtime/errors.h"
#include "runtime/loopstate.h"
#include "runtime/mathfn.h"

namespace {

using namespace orvendale;

// A window-less host whose timer stays enabled for as long as the benchmark wants iterations,
// so one run() covers the whole measurement and each benchmark iteration is one engine
// iteration. Timer reads go straight to State::KeepRunning().
class BenchHost : public RunHost {
 public:
  BenchHost(benchmark::State& state, void (*pump)()) : state_(state), pump_(pump) {}

  void setMousePointer(int) override {}
  void setTimer1Enabled(bool) override {}
  bool timer1Enabled() const override { return state_.KeepRunning(); }
  void setTimer1Interval(int) override {}
  void setText2(const std::string&) override {}
  void setLabel1Caption(const std::string&) override {}
  void doEvents() override { pump_(); }

 private:
  benchmark::State& state_;
  void (*pump_)();
};

// What one iteration leaves in its text, computed outside the timed loops.
std::string expectedIterationText() {
  double value = 1;
  runMathStage(value);
  std::string text;
  runTextStage(value, text);
  return text;
}

void noPump() {}

template <void (*Pump)() = noPump>
void BM_WorkIteration(benchmark::State& state) {
  BenchHost host(state, Pump);
  BenchmarkEngine engine(host);
  clearFloatStatus();
  // run() reads the timer after each iteration, so the first KeepRunning() (which starts the
  // clock) is made here; run() then returns after exactly state.max_iterations iterations.
  if (!state.KeepRunning()) {
    return;
  }
  engine.run();
  if (engine.dblLoops() != static_cast<double>(state.iterations()) ||
      engine.lastIterationText() != expectedIterationText()) {
    state.SkipWithError("the engine did different work");
  }
}
BENCHMARK(BM_WorkIteration);

#if defined(__x86_64__)
// A handler that uses a 256-bit register and returns without vzeroupper, as some library code
// does: from then on the CPU tracks dirty upper halves and SSE code pays for it.
__attribute__((target("avx"))) void leaveUpperHalvesDirty() {
  static const float one = 1;
  asm volatile("vbroadcastss %0, %%ymm1" : : "m"(one) : "xmm1");
}

void guardedCleanPump() {
  const LoopStateGuard guard;
}

void guardedDirtyPump() {
  const LoopStateGuard guard;
  leaveUpperHalvesDirty();
}

// The iteration after a pump that leaves the upper halves dirty: without the guard (what the
// guard saves), and through the guard, against a clean pump through the guard.
template <void (*Pump)()>
void BM_WorkIterationAfterPump(benchmark::State& state) {
  if (!__builtin_cpu_supports("avx")) {
    state.SkipWithError("this CPU has no AVX");
    return;
  }
  BM_WorkIteration<Pump>(state);
}
BENCHMARK(BM_WorkIterationAfterPump<guardedCleanPump>)->Name("BM_WorkIteration/guarded_clean_pump");
BENCHMARK(BM_WorkIterationAfterPump<guardedDirtyPump>)->Name("BM_WorkIteration/guarded_dirty_pump");
BENCHMARK(BM_WorkIterationAfterPump<leaveUpperHalvesDirty>)
    ->Name("BM_WorkIteration/unguarded_dirty_pump");
#endif

// Both stages live in another translation unit and write through their reference arguments,
// so their calls cannot be dropped.
void BM_MathStage(benchmark::State& state) {
  double value = 1;
  for (auto _ : state) {
    value = 1;
    runMathStage(value);
  }
}
BENCHMARK(BM_MathStage);

void BM_TextStage(benchmark::State& state) {
  const double value = rtcCos(3.1231);  // what the math stage leaves
  std::string text;
  for (auto _ : state) {
    runTextStage(value, text);
  }
}
BENCHMARK(BM_TextStage);

// The lean iteration reads its math arguments through volatile, so every call is made at run
// time as in the engine. The read-write form of DoNotOptimize is not used on scalars: g++ 12
// drops the store that initialises them, and the calls then see garbage.
volatile double gLogArgument = 321;
volatile double gCosArgument = 3.1231;

// The number as the work loop writes it: 15 significant digits, no zero before the point.
std::string leanNumberText(double value) {
  std::array<char, 32> buffer;
  char* end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                            std::chars_format::general, 15)
                  .ptr;
  char* digits = buffer.data() + (buffer[0] == '-' ? 1 : 0);
  if (digits[0] == '0' && digits[1] == '.') {
    std::memmove(digits, digits + 1, static_cast<std::size_t>(end - digits - 1));
    --end;
  }
  return std::string(buffer.data(), end);
}

std::string leanChain(std::string text) {
  for (int call = 0; call < 6; ++call) {
    text = bench::leanEncrypt(std::move(text));
  }
  return text;
}

void BM_LeanIteration(benchmark::State& state) {
  double loops = 0;
  std::string text;
  for (auto _ : state) {
    double value = 1;
    for (int pair = 0; pair < 9; ++pair) {
      const double angle = std::sin(std::cos(std::tan(std::log(gLogArgument))));
      benchmark::DoNotOptimize(angle);
      const double cosine = std::cos(gCosArgument);
      benchmark::DoNotOptimize(cosine);
      value = cosine;
    }
    text = leanChain(leanNumberText(value));
    text = leanChain(leanNumberText(value));
    loops += 1;
    benchmark::DoNotOptimize(std::as_const(loops));
  }
  if (loops != static_cast<double>(state.iterations()) || text != expectedIterationText()) {
    state.SkipWithError("the lean iteration did different work");
  }
}
BENCHMARK(BM_LeanIteration);

}  // namespace

BENCHMARK_MAIN();
