// Substring search on a 1 MiB text whose only match lies near the end: forward FindText beside
// memmem, std::string_view::find and the Boyer-Moore-Horspool searcher; FindText ignoring case
// beside strcasestr.
#include <string.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include "bench/support/compare.h"
#include "corvala/strings.h"

namespace {

constexpr size_t kTextSize = 1 << 20;

const char* Pattern(int64_t length) {
  switch (length) {
    case 2:
      return "zq";
    case 8:
      return "zqvbxwyk";
    default:
      return "zqvbxwykfjmpghtadoveryquietlyzzz";
  }
}

// Words of random letters with spaces; the pattern appears once, 100 bytes before the end.
// Mixed case for the case-insensitive searches, the pattern then in upper case.
std::string MakeText(const std::string& pattern, bool mixedCase) {
  std::string text(kTextSize, ' ');
  uint32_t seed = 12345;
  for (char& c : text) {
    seed = seed * 1103515245 + 12345;
    uint32_t r = (seed >> 16) % 32;
    c = r < 26 ? static_cast<char>('a' + r) : ' ';
    if (mixedCase && (seed >> 8) % 4 == 0) c = static_cast<char>(std::toupper(c));
  }
  const size_t at = kTextSize - 100;
  // No earlier occurrence, whatever the letters happened to be.
  auto same = [&](char a, char b) {
    return !mixedCase ? a == b : std::tolower(a) == std::tolower(b);
  };
  for (size_t i = 0; i + pattern.size() <= kTextSize; ++i) {
    if (std::equal(pattern.begin(), pattern.end(), text.begin() + i, same)) text[i] = ' ';
  }
  std::string placed = pattern;
  if (mixedCase) std::transform(placed.begin(), placed.end(), placed.begin(), ::toupper);
  text.replace(at, placed.size(), placed);
  return text;
}

void Check(benchmark::State& state, size_t found) {
  if (found != kTextSize - 100) state.SkipWithError("wrong position");
}

void BM_FindText(benchmark::State& state) {
  const char* pattern = Pattern(state.range(0));
  std::string text = MakeText(pattern, false);
  size_t found = 0;
  for (auto _ : state) {
    found = static_cast<size_t>(corvala::FindText(1, text.c_str(), pattern, 0).position - 1);
    benchmark::DoNotOptimize(found);
  }
  Check(state, found);
}
BENCHMARK(BM_FindText)->Arg(2)->Arg(8)->Arg(32);

void BM_Memmem(benchmark::State& state) {
  const char* pattern = Pattern(state.range(0));
  std::string text = MakeText(pattern, false);
  size_t found = 0;
  for (auto _ : state) {
    const void* at = memmem(text.data(), text.size(), pattern, std::strlen(pattern));
    found = static_cast<size_t>(static_cast<const char*>(at) - text.data());
    benchmark::DoNotOptimize(found);
  }
  Check(state, found);
}
BENCHMARK(BM_Memmem)->Arg(2)->Arg(8)->Arg(32);

void BM_StringViewFind(benchmark::State& state) {
  const char* pattern = Pattern(state.range(0));
  std::string text = MakeText(pattern, false);
  std::string_view view = text;
  size_t found = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(view);
    found = view.find(pattern);
    benchmark::DoNotOptimize(found);
  }
  Check(state, found);
}
BENCHMARK(BM_StringViewFind)->Arg(2)->Arg(8)->Arg(32);

void BM_HorspoolSearcher(benchmark::State& state) {
  std::string_view pattern = Pattern(state.range(0));
  std::string text = MakeText(std::string(pattern), false);
  size_t found = 0;
  for (auto _ : state) {
    std::boyer_moore_horspool_searcher searcher(pattern.begin(), pattern.end());
    auto at = std::search(text.begin(), text.end(), searcher);
    found = static_cast<size_t>(at - text.begin());
    benchmark::DoNotOptimize(found);
  }
  Check(state, found);
}
BENCHMARK(BM_HorspoolSearcher)->Arg(2)->Arg(8)->Arg(32);

void BM_FindTextIgnoreCase(benchmark::State& state) {
  const char* pattern = Pattern(state.range(0));
  std::string text = MakeText(pattern, true);
  size_t found = 0;
  for (auto _ : state) {
    found = static_cast<size_t>(
        corvala::FindText(1, text.c_str(), pattern, corvala::FindIgnoreCase).position - 1);
    benchmark::DoNotOptimize(found);
  }
  Check(state, found);
}
BENCHMARK(BM_FindTextIgnoreCase)->Arg(2)->Arg(8)->Arg(32);

void BM_Strcasestr(benchmark::State& state) {
  const char* pattern = Pattern(state.range(0));
  std::string text = MakeText(pattern, true);
  size_t found = 0;
  for (auto _ : state) {
    const char* at = strcasestr(text.c_str(), pattern);
    found = static_cast<size_t>(at - text.c_str());
    benchmark::DoNotOptimize(found);
  }
  Check(state, found);
}
BENCHMARK(BM_Strcasestr)->Arg(2)->Arg(8)->Arg(32);

}  // namespace

CORVALA_COMPARE(BM_FindText, BM_Memmem);
CORVALA_COMPARE(BM_FindText, BM_StringViewFind);
CORVALA_COMPARE(BM_FindText, BM_HorspoolSearcher);
CORVALA_COMPARE(BM_FindTextIgnoreCase, BM_Strcasestr);
