// Substitution over a 10 MB text: SubstituteText expanded by ExpandDeferredText into a
// buffer, beside a std::string find-and-replace loop that builds a new string.
#include <cstdint>
#include <string>
#include <vector>

#include "bench/support/compare.h"
#include "corvala/core.h"
#include "corvala/strings.h"

namespace {

constexpr size_t kTextSize = 10 * 1000 * 1000;

// Words of 2 to 9 letters; "cat" about every 700 bytes, 14,000 times in all (each occurrence
// takes one word of the scratch area, which holds about 80,000 of them on 64-bit builds).
const std::string& Text() {
  static const std::string text = [] {
    std::string t;
    t.reserve(kTextSize + 16);
    uint32_t seed = 12345;
    size_t nextCat = 0;
    while (t.size() < kTextSize) {
      if (t.size() >= nextCat) {
        t += "cat ";
        nextCat += 700;
        continue;
      }
      seed = seed * 1103515245 + 12345;
      int letters = 2 + static_cast<int>((seed >> 16) % 8);
      for (int i = 0; i < letters; ++i) {
        seed = seed * 1103515245 + 12345;
        t += static_cast<char>('d' + (seed >> 16) % 20);  // no c or a: no stray matches
      }
      t += ' ';
    }
    return t;
  }();
  return text;
}

void BM_SubstituteText(benchmark::State& state) {
  const std::string& text = Text();
  std::vector<char> built(text.size() * 2);
  for (auto _ : state) {
    int32_t length = corvala::SubstituteText(text.c_str(), "cat", "tiger", 0);
    const char* deferred = corvala::SelectTempSlot(corvala::kSlotCurrent)->text;
    uint32_t written =
        corvala::ExpandDeferredText(deferred, built.data(), static_cast<uint32_t>(length));
    benchmark::DoNotOptimize(written);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_SubstituteText)->Unit(benchmark::kMillisecond);

void BM_StringReplace(benchmark::State& state) {
  const std::string& text = Text();
  std::string built;
  built.reserve(text.size() * 2);
  const std::string sought = "cat", replacement = "tiger";
  for (auto _ : state) {
    built.clear();
    size_t from = 0;
    for (size_t at; (at = text.find(sought, from)) != std::string::npos;) {
      built.append(text, from, at - from);
      built += replacement;
      from = at + sought.size();
    }
    built.append(text, from, std::string::npos);
    benchmark::DoNotOptimize(built.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_StringReplace)->Unit(benchmark::kMillisecond);

}  // namespace

CORVALA_COMPARE(BM_SubstituteText, BM_StringReplace);
