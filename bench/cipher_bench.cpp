// EncryptString as the work loop calls it, against leanEncrypt (lean_encrypt.h), a straight-line
// baseline that does the same generator calls, XOR and armour in one function with no object.
// Both take their input by value, as the routine works on its own copy.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/lean_encrypt.h"
#include "cipher/Module1.h"

namespace {

using namespace orvendale;
using bench::leanEncrypt;

const std::string kNumberText = "-.999829015754428";  // cos(3.1231) as the work loop writes it

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
