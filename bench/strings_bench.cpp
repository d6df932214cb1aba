// String primitives: TextLength beside strlen, CompareTexts beside strcmp and strcasecmp.
#include <strings.h>

#include <cctype>
#include <cstring>
#include <vector>

#include "bench/support/compare.h"
#include "corvala/strings.h"

namespace {

// A zero-terminated text of `length` letters at a 16-byte boundary plus `offset`.
struct Text {
  std::vector<char> storage;
  char* text;
  Text(size_t length, size_t offset, bool upper = false) : storage(length + 64) {
    text = storage.data() + (16 - reinterpret_cast<uintptr_t>(storage.data()) % 16) % 16 + offset;
    for (size_t i = 0; i < length; ++i) {
      char letter = static_cast<char>('a' + (i * 7 + i / 26) % 26);
      text[i] = upper ? static_cast<char>(std::toupper(letter)) : letter;
    }
    text[length] = '\0';
  }
};

void Sizes(benchmark::internal::Benchmark* b) { b->Arg(16)->Arg(1024)->Arg(1 << 20); }

void BM_TextLength(benchmark::State& state) {
  Text t(static_cast<size_t>(state.range(0)), 3);
  for (auto _ : state) benchmark::DoNotOptimize(corvala::TextLength(t.text));
}
BENCHMARK(BM_TextLength)->Apply(Sizes);

void BM_Strlen(benchmark::State& state) {
  Text t(static_cast<size_t>(state.range(0)), 3);
  char* text = t.text;
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);  // keeps the call from being folded
    benchmark::DoNotOptimize(std::strlen(text));
  }
}
BENCHMARK(BM_Strlen)->Apply(Sizes);

// Equal texts, read to the end; b is aligned differently from a.
void BM_CompareTexts(benchmark::State& state) {
  Text a(static_cast<size_t>(state.range(0)), 3), b(static_cast<size_t>(state.range(0)), 9);
  for (auto _ : state) benchmark::DoNotOptimize(corvala::CompareTexts(a.text, b.text, 0));
}
BENCHMARK(BM_CompareTexts)->Arg(16)->Arg(1024);

void BM_Strcmp(benchmark::State& state) {
  Text a(static_cast<size_t>(state.range(0)), 3), b(static_cast<size_t>(state.range(0)), 9);
  char *x = a.text, *y = b.text;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(y);
    benchmark::DoNotOptimize(std::strcmp(x, y));
  }
}
BENCHMARK(BM_Strcmp)->Arg(16)->Arg(1024);

void BM_CompareTextsIgnoreCase(benchmark::State& state) {
  Text a(static_cast<size_t>(state.range(0)), 3), b(static_cast<size_t>(state.range(0)), 9, true);
  for (auto _ : state) benchmark::DoNotOptimize(corvala::CompareTexts(a.text, b.text, 1));
}
BENCHMARK(BM_CompareTextsIgnoreCase)->Arg(16)->Arg(1024);

void BM_Strcasecmp(benchmark::State& state) {
  Text a(static_cast<size_t>(state.range(0)), 3), b(static_cast<size_t>(state.range(0)), 9, true);
  char *x = a.text, *y = b.text;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(y);
    benchmark::DoNotOptimize(strcasecmp(x, y));
  }
}
BENCHMARK(BM_Strcasecmp)->Arg(16)->Arg(1024);

}  // namespace

CORVALA_COMPARE(BM_TextLength, BM_Strlen);
CORVALA_COMPARE(BM_CompareTexts, BM_Strcmp);
CORVALA_COMPARE(BM_CompareTextsIgnoreCase, BM_Strcasecmp);
