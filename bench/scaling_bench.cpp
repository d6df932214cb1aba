// Growth with the input: Recall, SortArray, FindText and FileCompare at 1, 10 and 100 MB, and
// FindText and FileCompare at 1 GB where the machine has the memory for it (6 GB available). The
// time per byte (bytes_per_second; items_per_second for the sort) should stay level from size to
// size, the sort's falling only by its log n. These have no anchor: each size is compared with the
// next smaller one, "Recall/10: ..., Recall/1: ..., ratio" being the growth for ten times the
// input (10 when linear, about 11 to 12 for the sort).
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/support/compare.h"
#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/strings.h"

namespace {

constexpr int32_t kArray = 1;
constexpr int64_t kMegabyte = 1000 * 1000;

bool RoomForGigabyte() {
  const long pages = sysconf(_SC_AVPHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  return pages > 0 && pageSize > 0 && static_cast<double>(pages) * pageSize >= 6e9;
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(1)->Arg(10)->Arg(100);
  if (RoomForGigabyte()) b->Arg(1000);
  b->Unit(benchmark::kMillisecond);
}

// Loading stops short of 1 GB: its working descriptor of (bytes + 4) / 2 records must be one
// heap block of less than 4 GB, which holds about 530 MB of input on 64-bit builds.
void LoadSizes(benchmark::internal::Benchmark* b) {
  b->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
}

// CR LF lines of mixed lengths, as text files have them, `megabytes` in all (just over).
std::string Lines(int64_t megabytes) {
  std::mt19937 random(42);
  std::string text;
  const size_t size = static_cast<size_t>(megabytes * kMegabyte);
  text.reserve(size + 4096);
  while (text.size() < size) {
    const uint32_t pick = random() % 100;
    const size_t length = pick < 60   ? random() % 40
                          : pick < 95 ? 40 + random() % 120
                                      : random() % 2000;
    for (size_t i = 0; i < length; ++i) text += static_cast<char>(' ' + random() % 95);
    text += "\r\n";
  }
  return text;
}

// A file in the temporary folder holding the lines of one size, removed with this object.
class LinesFile {
 public:
  explicit LinesFile(int64_t megabytes, const char* suffix = "")
      : path_("/tmp/corvala-scaling-" + std::to_string(getpid()) + "-" + std::to_string(megabytes) +
              suffix) {
    const std::string text = Lines(megabytes);
    std::FILE* f = std::fopen(path_.c_str(), "wb");
    ready_ = f != nullptr && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f != nullptr) ready_ = std::fclose(f) == 0 && ready_;
    bytes_ = static_cast<int64_t>(text.size());
  }
  ~LinesFile() { std::remove(path_.c_str()); }
  LinesFile(const LinesFile&) = delete;
  LinesFile& operator=(const LinesFile&) = delete;
  const char* path() const { return path_.c_str(); }
  bool ready() const { return ready_; }
  int64_t bytes() const { return bytes_; }

 private:
  std::string path_;
  bool ready_ = false;
  int64_t bytes_ = 0;
};

void BM_Recall(benchmark::State& state) {
  const LinesFile file(state.range(0));
  if (!file.ready()) return state.SkipWithError("could not write the file");
  for (auto _ : state) {
    benchmark::DoNotOptimize(corvala::Recall(file.path(), kArray, 0, 0));
    corvala::EraseArray(kArray);
  }
  state.SetBytesProcessed(state.iterations() * file.bytes());
}
BENCHMARK(BM_Recall)->Apply(LoadSizes);

// The lines loaded once; each round sorts a fresh copy of their records.
void BM_SortArray(benchmark::State& state) {
  int32_t lines = 0;
  {
    const LinesFile file(state.range(0));
    if (!file.ready()) return state.SkipWithError("could not write the file");
    lines = corvala::Recall(file.path(), kArray, 0, 0).lines;
  }
  auto* array = reinterpret_cast<corvala::ArrayDescriptor*>(corvala::ArrayTable()[kArray]);
  const std::vector<corvala::ElementRecord> loaded(array->elements(), array->elements() + lines);
  for (auto _ : state) {
    state.PauseTiming();
    std::copy(loaded.begin(), loaded.end(), array->elements());
    state.ResumeTiming();
    corvala::SortArray(kArray, 0);
    benchmark::ClobberMemory();
  }
  corvala::EraseArray(kArray);
  state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_SortArray)->Apply(LoadSizes);

// A pattern the text does not hold: the search reads all of it.
void BM_FindText(benchmark::State& state) {
  const std::string text = Lines(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(corvala::FindText(1, text.c_str(), "\r\r\n", 0));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_FindText)->Apply(Sizes);

void BM_FileCompare(benchmark::State& state) {
  const LinesFile first(state.range(0), "a"), second(state.range(0), "b");
  if (!first.ready() || !second.ready()) return state.SkipWithError("could not write the files");
  for (auto _ : state) {
    const corvala::FileDifference found = corvala::FileCompare(first.path(), second.path(), 0);
    if (found.difference != 0) return state.SkipWithError("the files compared as different");
  }
  state.SetBytesProcessed(state.iterations() * first.bytes());
}
BENCHMARK(BM_FileCompare)->Apply(Sizes);

}  // namespace

// Each size beside the next smaller one.
[[maybe_unused]] static const bool kGrowthPairs = [] {
  const std::string sizes[] = {"/1", "/10", "/100", "/1000"};
  for (const std::string name : {"BM_Recall", "BM_SortArray", "BM_FindText", "BM_FileCompare"}) {
    for (int i = 1; i < 4; ++i) {
      corvala::bench::Compare((name + sizes[i]).c_str(), (name + sizes[i - 1]).c_str());
    }
  }
  return true;
}();
