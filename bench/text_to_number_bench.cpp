// Text to number: TextToNumber of decimal texts to double beside strtod and
// std::from_chars, and to int32 beside std::from_chars.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench/support/compare.h"
#include "corvala/numbers.h"

namespace {

constexpr size_t kCount = 1024;

// Random doubles from 1e-12 to 1e12 written with 9 significant digits ("-1234.56789",
// "3.14159265e-07"), as a program meets them in data files.
const std::vector<std::string>& DecimalTexts() {
  static const std::vector<std::string> texts = [] {
    std::mt19937_64 random(20240603);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 12);
    std::vector<std::string> v(kCount);
    for (std::string& t : v) {
      double d = mantissa(random) * std::pow(10.0, exponent(random));
      char buffer[32];
      std::snprintf(buffer, sizeof buffer, "%.9g", random() & 1 ? -d : d);
      t = buffer;
    }
    return v;
  }();
  return texts;
}

// Random signs and digit counts from 1 to 10.
const std::vector<std::string>& IntegerTexts() {
  static const std::vector<std::string> texts = [] {
    std::mt19937_64 random(20240604);
    std::vector<std::string> v(kCount);
    for (std::string& t : v) {
      int64_t limit = 1;
      for (int digits = 1 + static_cast<int>(random() % 10); digits > 0; --digits) limit *= 10;
      int64_t value = static_cast<int64_t>(random() % static_cast<uint64_t>(limit));
      if (value > INT32_MAX) value = INT32_MAX;
      t = std::to_string(random() & 1 ? -value : value);
    }
    return v;
  }();
  return texts;
}

void BM_TextToNumberDouble(benchmark::State& state) {
  const std::vector<std::string>& texts = DecimalTexts();
  double d = 0;
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(corvala::TextToNumber(
        texts[i].c_str(), reinterpret_cast<corvala::Word>(&d), corvala::kNumberDouble));
    benchmark::DoNotOptimize(d);
    i = (i + 1) % kCount;
  }
}
BENCHMARK(BM_TextToNumberDouble);

void BM_Strtod(benchmark::State& state) {
  const std::vector<std::string>& texts = DecimalTexts();
  size_t i = 0;
  for (auto _ : state) {
    char* end;
    benchmark::DoNotOptimize(std::strtod(texts[i].c_str(), &end));
    benchmark::DoNotOptimize(end);
    i = (i + 1) % kCount;
  }
}
BENCHMARK(BM_Strtod);

void BM_FromCharsDouble(benchmark::State& state) {
  const std::vector<std::string>& texts = DecimalTexts();
  double d = 0;
  size_t i = 0;
  for (auto _ : state) {
    const std::string& t = texts[i];
    benchmark::DoNotOptimize(std::from_chars(t.data(), t.data() + t.size(), d));
    benchmark::DoNotOptimize(d);
    i = (i + 1) % kCount;
  }
}
BENCHMARK(BM_FromCharsDouble);

void BM_TextToNumberInt32(benchmark::State& state) {
  const std::vector<std::string>& texts = IntegerTexts();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(corvala::TextToNumber(texts[i].c_str()));
    i = (i + 1) % kCount;
  }
}
BENCHMARK(BM_TextToNumberInt32);

void BM_FromCharsInt32(benchmark::State& state) {
  const std::vector<std::string>& texts = IntegerTexts();
  int32_t v = 0;
  size_t i = 0;
  for (auto _ : state) {
    const std::string& t = texts[i];
    benchmark::DoNotOptimize(std::from_chars(t.data(), t.data() + t.size(), v));
    benchmark::DoNotOptimize(v);
    i = (i + 1) % kCount;
  }
}
BENCHMARK(BM_FromCharsInt32);

}  // namespace

CORVALA_COMPARE(BM_TextToNumberDouble, BM_Strtod);
CORVALA_COMPARE(BM_TextToNumberDouble, BM_FromCharsDouble);
CORVALA_COMPARE(BM_TextToNumberInt32, BM_FromCharsInt32);
