// Number to text: NumberText with the default 7 digits beside snprintf("%.7g") and
// std::to_chars with precision 7; integers beside std::to_chars.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "bench/support/compare.h"
#include "corvala/numbers.h"

namespace {

constexpr size_t kCount = 1024;

// Random signs, mantissas and magnitudes from 1e-12 to 1e12.
const std::vector<double>& Doubles() {
  static const std::vector<double> values = [] {
    std::mt19937_64 random(20240601);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 12);
    std::vector<double> v(kCount);
    for (double& d : v) {
      d = mantissa(random) * std::pow(10.0, exponent(random));
      if (random() & 1) d = -d;
    }
    return v;
  }();
  return values;
}

// Random signs and digit counts from 1 to 10.
const std::vector<int32_t>& Integers() {
  static const std::vector<int32_t> values = [] {
    std::mt19937_64 random(20240602);
    std::vector<int32_t> v(kCount);
    for (int32_t& i : v) {
      int64_t limit = 1;
      for (int digits = 1 + static_cast<int>(random() % 10); digits > 0; --digits) limit *= 10;
      int64_t value = static_cast<int64_t>(random() % static_cast<uint64_t>(limit));
      if (value > INT32_MAX) value = INT32_MAX;
      i = static_cast<int32_t>(random() & 1 ? -value : value);
    }
    return v;
  }();
  return values;
}

void BM_NumberToText(benchmark::State& state) {
  const std::vector<double>& values = Doubles();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(corvala::NumberText(corvala::kFloatingForm, values[i]));
    i = (i + 1) % kCount;
  }
}
BENCHMARK(BM_NumberToText);

void BM_Snprintf(benchmark::State& state) {
  const std::vector<double>& values = Doubles();
  char buffer[32];
  size_t i = 0;
  for (auto _ : state) {
    std::snprintf(buffer, sizeof buffer, "%.7g", values[i]);
    benchmark::DoNotOptimize(buffer);
    benchmark::ClobberMemory();
    i = (i + 1) % kCount;
  }
}
BENCHMARK(BM_Snprintf);

void BM_ToChars(benchmark::State& state) {
  const std::vector<double>& values = Doubles();
  char buffer[32];
  size_t i = 0;
  for (auto _ : state) {
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer - 1, values[i], std::chars_format::general, 7);
    *result.ptr = '\0';
    benchmark::DoNotOptimize(buffer);
    benchmark::ClobberMemory();
    i = (i + 1) % kCount;
  }
}
BENCHMARK(BM_ToChars);

void BM_NumberToTextInteger(benchmark::State& state) {
  const std::vector<int32_t>& values = Integers();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(corvala::NumberText(corvala::kIntegerForm, values[i]));
    i = (i + 1) % kCount;
  }
}
BENCHMARK(BM_NumberToTextInteger);

void BM_ToCharsInteger(benchmark::State& state) {
  const std::vector<int32_t>& values = Integers();
  char buffer[16];
  size_t i = 0;
  for (auto _ : state) {
    auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, values[i]);
    *result.ptr = '\0';
    benchmark::DoNotOptimize(buffer);
    benchmark::ClobberMemory();
    i = (i + 1) % kCount;
  }
}
BENCHMARK(BM_ToCharsInteger);

}  // namespace

CORVALA_COMPARE(BM_NumberToText, BM_Snprintf);
CORVALA_COMPARE(BM_NumberToText, BM_ToChars);
CORVALA_COMPARE(BM_NumberToTextInteger, BM_ToCharsInteger);
