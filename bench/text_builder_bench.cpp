// Joining ten pieces into a string variable: BuildText beside std::string appends and
// std::ostringstream. Seven texts of the argument's length, two tabs and a line break.
#include <sstream>
#include <string>

#include "bench/support/compare.h"
#include "corvala/core.h"
#include "corvala/files.h"

namespace {

constexpr int kLineBreak = 1;  // shared-table ids
constexpr int kTab = 2;
constexpr int kTexts = 7;

struct Texts {
  explicit Texts(size_t length) {
    for (int i = 0; i < kTexts; ++i) {
      owned[i] = std::string(length, static_cast<char>('a' + i));
      text[i] = owned[i].c_str();
    }
  }
  std::string owned[kTexts];
  const char* text[kTexts];
};

void BM_BuildText(benchmark::State& state) {
  const Texts t(static_cast<size_t>(state.range(0)));
  corvala::ElementRecord variable = {nullptr, 0};
  for (auto _ : state) {
    corvala::TargetVariable(variable);
    corvala::BuildText(corvala::kBuildAssign, {t.text[0], t.text[1], kTab, t.text[2], t.text[3],
                                               kTab, t.text[4], t.text[5], t.text[6], kLineBreak});
    benchmark::DoNotOptimize(variable.text);
    benchmark::ClobberMemory();
  }
  if (variable.length > 0) corvala::CountedFree(const_cast<char*>(variable.text));
}
BENCHMARK(BM_BuildText)->Arg(8)->Arg(100);

void BM_StringAppend(benchmark::State& state) {
  const Texts t(static_cast<size_t>(state.range(0)));
  std::string variable;
  for (auto _ : state) {
    std::string joined;
    joined += t.text[0];
    joined += t.text[1];
    joined += '\t';
    joined += t.text[2];
    joined += t.text[3];
    joined += '\t';
    joined += t.text[4];
    joined += t.text[5];
    joined += t.text[6];
    joined += "\r\n";
    variable = std::move(joined);
    benchmark::DoNotOptimize(variable.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_StringAppend)->Arg(8)->Arg(100);

void BM_Ostringstream(benchmark::State& state) {
  const Texts t(static_cast<size_t>(state.range(0)));
  std::string variable;
  for (auto _ : state) {
    std::ostringstream joined;
    joined << t.text[0] << t.text[1] << '\t' << t.text[2] << t.text[3] << '\t' << t.text[4]
           << t.text[5] << t.text[6] << "\r\n";
    variable = joined.str();
    benchmark::DoNotOptimize(variable.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Ostringstream)->Arg(8)->Arg(100);

}  // namespace

CORVALA_COMPARE(BM_BuildText, BM_StringAppend);
CORVALA_COMPARE(BM_BuildText, BM_Ostringstream);
