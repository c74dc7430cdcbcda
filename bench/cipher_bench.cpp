// EncryptString as the work loop calls it, against a lean straight-line baseline that does the
// same generator calls, XOR and armour in one function with no object. Both take their input
// by value, as the routine works on its own copy.
#include <benchmark/benchmark.h>

#include <string>

#include "cipher/Module1.h"
#include "runtime/random.h"

namespace {

using namespace orvendale;

const std::string kNumberText = "-.999829015754428";  // cos(3.1231) as the work loop writes it

std::string leanEncrypt(std::string input) {
  rtcRandomize(rtcRandomNext(-1.0f));
  for (const char k : {'k', 'v', 't'}) {
    rtcRandomize(rtcRandomNext(-rtcRandomNext() * static_cast<float>(k)));
  }
  const std::size_t length = input.size();
  std::string out(length + (length + 2) / 3, ' ');
  char* o = out.data();
  for (std::size_t i = 0; i < length; i += 3) {
    int packed = 0;
    const std::size_t groupEnd = std::min(i + 3, length);
    for (std::size_t j = i; j < groupEnd; ++j) {
      const int c =
          static_cast<unsigned char>(input[j]) ^ static_cast<int>(rtcRandomNext() * 256.0f);
      *o++ = static_cast<char>((c & 63) + 59);
      packed |= (c >> 6) << (4 - 2 * static_cast<int>(j - i));
    }
    *o++ = static_cast<char>(packed + 59);
  }
  return out;
}

void BM_EncryptString(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(Module1::EncryptString(kNumberText));
  }
}
BENCHMARK(BM_EncryptString);

void BM_LeanEncrypt(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(leanEncrypt(kNumberText));
  }
}
BENCHMARK(BM_LeanEncrypt);

// Six chained calls, each fed the previous output: 17 -> 23 -> ... -> 100 characters.
void BM_EncryptChain(benchmark::State& state) {
  for (auto _ : state) {
    std::string text = kNumberText;
    for (int i = 0; i < 6; ++i) {
      text = Module1::EncryptString(std::move(text));
    }
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_EncryptChain);

void BM_LeanChain(benchmark::State& state) {
  for (auto _ : state) {
    std::string text = kNumberText;
    for (int i = 0; i < 6; ++i) {
      text = leanEncrypt(std::move(text));
    }
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_LeanChain);

}  // namespace

BENCHMARK_MAIN();
