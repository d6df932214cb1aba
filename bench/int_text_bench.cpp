// Integer text: IntToDecimal beside std::to_chars and snprintf.
#include <charconv>
#include <cstdint>
#include <cstdio>

#include "bench/support/compare.h"
#include "corvala/numbers.h"

namespace {

// A spread of magnitudes and signs, so no single digit count dominates.
constexpr int32_t kValues[] = {
    0,       7,      -42,      905, -31337,   123456, -9876543, 2147483647, -2147483647 - 1,
    1000000, -65535, 77777777, -1,  314159265};
constexpr size_t kCount = sizeof kValues / sizeof kValues[0];

void BM_IntToDecimal(benchmark::State& state) {
  char buffer[12];
  size_t i = 0;
  for (auto _ : state) {
    corvala::IntToDecimal(kValues[i], buffer);
    benchmark::DoNotOptimize(buffer);
    benchmark::ClobberMemory();
    i = i + 1 == kCount ? 0 : i + 1;
  }
}
BENCHMARK(BM_IntToDecimal);

void BM_ToChars(benchmark::State& state) {
  char buffer[12];
  size_t i = 0;
  for (auto _ : state) {
    auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, kValues[i]);
    *result.ptr = '\0';
    benchmark::DoNotOptimize(buffer);
    benchmark::ClobberMemory();
    i = i + 1 == kCount ? 0 : i + 1;
  }
}
BENCHMARK(BM_ToChars);

void BM_Snprintf(benchmark::State& state) {
  char buffer[12];
  size_t i = 0;
  for (auto _ : state) {
    std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(kValues[i]));
    benchmark::DoNotOptimize(buffer);
    benchmark::ClobberMemory();
    i = i + 1 == kCount ? 0 : i + 1;
  }
}
BENCHMARK(BM_Snprintf);

}  // namespace

CORVALA_COMPARE(BM_IntToDecimal, BM_ToChars);
CORVALA_COMPARE(BM_IntToDecimal, BM_Snprintf);
