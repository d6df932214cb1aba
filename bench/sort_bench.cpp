// Sorting: SortArray of a million short texts beside std::sort of std::string with strcasecmp,
// and beside the C library's qsort of the same records with _stricmp.
#include <strings.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench/support/compare.h"
#include "corvala/core.h"
#include "corvala/strings.h"
#include "platform/crt.h"

namespace {

constexpr int32_t kTexts = 1000000;

// Random texts of 1 to 12 letters in mixed case, as loaded lines would be.
const std::vector<std::string>& Texts() {
  static const std::vector<std::string> texts = [] {
    std::mt19937 random(42);
    std::vector<std::string> result(kTexts);
    for (std::string& text : result) {
      const int length = 1 + static_cast<int>(random() % 12);
      for (int i = 0; i < length; ++i) {
        const char letter = static_cast<char>('a' + random() % 26);
        text += random() % 4 == 0 ? static_cast<char>(letter - 32) : letter;
      }
    }
    return result;
  }();
  return texts;
}

// The same texts in one block, as in an array loaded from a file, and records pointing at them.
const std::vector<corvala::ElementRecord>& Records() {
  static std::string block;
  static const std::vector<corvala::ElementRecord> records = [] {
    const std::vector<std::string>& texts = Texts();
    std::vector<size_t> offsets;
    for (const std::string& text : texts) {
      offsets.push_back(block.size());
      block += text;
      block += '\0';
    }
    std::vector<corvala::ElementRecord> result;
    for (size_t i = 0; i < texts.size(); ++i) {
      result.push_back({block.data() + offsets[i], -static_cast<int32_t>(texts[i].size())});
    }
    return result;
  }();
  return records;
}

void BM_SortArray(benchmark::State& state) {
  const std::vector<corvala::ElementRecord>& unsorted = Records();
  corvala::ArrayDescriptor* array = corvala::DimArray(1, kTexts - 1, 0);
  for (auto _ : state) {
    state.PauseTiming();
    std::copy(unsorted.begin(), unsorted.end(), array->elements());
    state.ResumeTiming();
    corvala::SortArray(1, 0);
    benchmark::ClobberMemory();
  }
  corvala::EraseArray(1);
}
BENCHMARK(BM_SortArray)->Unit(benchmark::kMillisecond);

void BM_StdSortStrcasecmp(benchmark::State& state) {
  const std::vector<std::string>& texts = Texts();
  std::vector<std::string> work;
  for (auto _ : state) {
    state.PauseTiming();
    work = texts;
    state.ResumeTiming();
    std::sort(work.begin(), work.end(), [](const std::string& a, const std::string& b) {
      return strcasecmp(a.c_str(), b.c_str()) < 0;
    });
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_StdSortStrcasecmp)->Unit(benchmark::kMillisecond);

int CompareRecords(const void* a, const void* b) {
  return platform::_stricmp(static_cast<const corvala::ElementRecord*>(a)->text,
                            static_cast<const corvala::ElementRecord*>(b)->text);
}

void BM_QsortStricmp(benchmark::State& state) {
  const std::vector<corvala::ElementRecord>& unsorted = Records();
  std::vector<corvala::ElementRecord> work;
  for (auto _ : state) {
    state.PauseTiming();
    work = unsorted;
    state.ResumeTiming();
    std::qsort(work.data(), work.size(), sizeof(corvala::ElementRecord), CompareRecords);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_QsortStricmp)->Unit(benchmark::kMillisecond);

}  // namespace

CORVALA_COMPARE(BM_SortArray, BM_StdSortStrcasecmp);
CORVALA_COMPARE(BM_SortArray, BM_QsortStricmp);
