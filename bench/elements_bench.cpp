// Field access: ElementText of field 5 from comma-separated lines beside splitting each line
// with std::string::find.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "bench/support/compare.h"
#include "corvala/core.h"
#include "corvala/strings.h"

namespace {

constexpr int32_t kLines = 1000000;

// Lines of ten fields of 1 to 8 characters, a few of them quoted with a comma inside.
const std::vector<std::string>& Lines() {
  static const std::vector<std::string> lines = [] {
    std::mt19937 random(5);
    std::vector<std::string> result(kLines);
    for (std::string& line : result) {
      for (int field = 0; field < 10; ++field) {
        if (field != 0) line += ',';
        const int length = 1 + static_cast<int>(random() % 8);
        std::string text;
        for (int i = 0; i < length; ++i) text += static_cast<char>('a' + random() % 26);
        line += random() % 8 == 0 ? "\"" + text + ",x\"" : text;
      }
    }
    return result;
  }();
  return lines;
}

void BM_ElementTextField5(benchmark::State& state) {
  const std::vector<std::string>& lines = Lines();
  corvala::ArrayDescriptor* array = corvala::DimArray(1, kLines - 1, 0);
  array->shape = corvala::kCommaFields;
  for (int32_t i = 0; i < kLines; ++i) {
    array->elements()[i] = {lines[i].c_str(), -static_cast<int32_t>(lines[i].size())};
  }
  uint32_t i = 0;
  for (auto _ : state) {
    corvala::TextRecord field = corvala::ElementText(1, corvala::TwoIndex(i, 5));
    benchmark::DoNotOptimize(field);
    i = i + 1 == kLines ? 0 : i + 1;
  }
  corvala::EraseArray(1);
}
BENCHMARK(BM_ElementTextField5);

// The anchor splits plainly at commas; it does not treat quotes.
void BM_StringFindField5(benchmark::State& state) {
  const std::vector<std::string>& lines = Lines();
  std::string field;
  size_t i = 0;
  for (auto _ : state) {
    const std::string& line = lines[i];
    size_t start = 0;
    for (int skip = 0; skip < 5 && start != std::string::npos; ++skip) {
      const size_t comma = line.find(',', start);
      start = comma == std::string::npos ? comma : comma + 1;
    }
    if (start != std::string::npos) {
      const size_t end = line.find(',', start);
      field.assign(line, start, end == std::string::npos ? std::string::npos : end - start);
    } else {
      field.clear();
    }
    benchmark::DoNotOptimize(field.data());
    i = i + 1 == static_cast<size_t>(kLines) ? 0 : i + 1;
  }
}
BENCHMARK(BM_StringFindField5);

}  // namespace

CORVALA_COMPARE(BM_ElementTextField5, BM_StringFindField5);
