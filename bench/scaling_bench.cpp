// Growth with the input: Recall, SortArray, FindText and FileCompare at 1, 10 and 100 MB, and at
// 1 GB where the machine has the memory for it (6 GB available). The time per byte
// (bytes_per_second; items_per_second for the sort) should stay level from size to size, the
// sort's falling only by its log n. These have no anchor: each size is compared with the next
// smaller one, "Recall/10: ..., Recall/1: ..., ratio" being the growth for ten times the input
// (10 when linear, about 11 to 12 for the sort).
//
// Last, on 64-bit builds, a generated 4 GB file is loaded, sorted and stored once, each step
// timed (recall_s, sort_s, store_s, and their processor time recall_cpu_s, ...), where the machine
// has the memory (10 GB available) and the temporary folder the disk (9 GB free); otherwise it says
// which is missing.
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
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

constexpr char kFolder[] = "/tmp";

double AvailableMemory() {
  const long pages = sysconf(_SC_AVPHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  return pages > 0 && pageSize > 0 ? static_cast<double>(pages) * pageSize : 0;
}

double FreeDisk() {
  struct statvfs folder;
  if (statvfs(kFolder, &folder) != 0) return 0;
  return static_cast<double>(folder.f_bavail) * folder.f_frsize;
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(1)->Arg(10)->Arg(100);
  if (AvailableMemory() >= 6e9) b->Arg(1000);
  b->Unit(benchmark::kMillisecond);
}

// Appends CR LF lines of mixed lengths, as text files have them, until `text` holds `size`
// bytes (just over).
void AppendLines(std::mt19937& random, std::string& text, size_t size) {
  while (text.size() < size) {
    const uint32_t pick = random() % 100;
    const size_t length = pick < 60   ? random() % 40
                          : pick < 95 ? 40 + random() % 120
                                      : random() % 2000;
    for (size_t i = 0; i < length; ++i) text += static_cast<char>(' ' + random() % 95);
    text += "\r\n";
  }
}

std::string Lines(int64_t megabytes) {
  std::mt19937 random(42);
  std::string text;
  const size_t size = static_cast<size_t>(megabytes * kMegabyte);
  text.reserve(size + 4096);
  AppendLines(random, text, size);
  return text;
}

// A file in the temporary folder holding the lines of one size, removed with this object. The
// lines are the same as Lines gives, written 64 MB at a time.
class LinesFile {
 public:
  explicit LinesFile(int64_t megabytes, const char* suffix = "")
      : path_(std::string(kFolder) + "/corvala-scaling-" + std::to_string(getpid()) + "-" +
              std::to_string(megabytes) + suffix) {
    constexpr size_t kChunk = 64 << 20;
    std::FILE* f = std::fopen(path_.c_str(), "wb");
    ready_ = f != nullptr;
    std::mt19937 random(42);
    std::string text;
    text.reserve(kChunk + 4096);
    const size_t size = static_cast<size_t>(megabytes * kMegabyte);
    while (ready_ && static_cast<size_t>(bytes_) < size) {
      text.clear();
      AppendLines(random, text, std::min(kChunk, size - static_cast<size_t>(bytes_)));
      ready_ = std::fwrite(text.data(), 1, text.size(), f) == text.size();
      bytes_ += static_cast<int64_t>(text.size());
    }
    if (f != nullptr) ready_ = std::fclose(f) == 0 && ready_;
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
BENCHMARK(BM_Recall)->Apply(Sizes);

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
BENCHMARK(BM_SortArray)->Apply(Sizes);

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

// Wall and processor seconds of one step; on a shared machine the second says more.
class StepTimer {
 public:
  StepTimer() : wall_(std::chrono::steady_clock::now()), cpu_(CpuSeconds()) {}
  void Report(benchmark::State& state, const std::string& step) const {
    state.counters[step + "_s"] =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_).count();
    state.counters[step + "_cpu_s"] = CpuSeconds() - cpu_;
  }

 private:
  static double CpuSeconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
  }
  std::chrono::steady_clock::time_point wall_;
  double cpu_;
};

// One round: a 4 GB file loaded, its lines sorted and stored to a second file.
void BM_LoadSortStore4GB(benchmark::State& state) {
  constexpr int64_t kMegabytes = 4000;
  if (sizeof(void*) < 8) return state.SkipWithError("a 32-bit build loads less than 2 GB");
  if (AvailableMemory() < 10e9) {
    return state.SkipWithError("needs 10 GB of available memory: the file, its records, a copy");
  }
  if (FreeDisk() < 9e9) {
    return state.SkipWithError("needs 9 GB free in /tmp: the file and the one stored");
  }
  const LinesFile file(kMegabytes);
  if (!file.ready()) return state.SkipWithError("could not write the file");
  const std::string stored = std::string(file.path()) + "-stored";
  for (auto _ : state) {
    const StepTimer recall;
    const corvala::RecallResult loaded = corvala::Recall(file.path(), kArray, 0, 0);
    recall.Report(state, "recall");
    const StepTimer sort;
    corvala::SortArray(kArray, 0);
    sort.Report(state, "sort");
    const StepTimer store;
    const int32_t written = corvala::Store(stored.c_str(), kArray, loaded.lines);
    store.Report(state, "store");
    state.counters["lines"] = written;
    corvala::EraseArray(kArray);
    struct stat storedFile;
    if (loaded.bytes != file.bytes()) {
      state.SkipWithError("Recall loaded a different size");
    } else if (stat(stored.c_str(), &storedFile) != 0 || storedFile.st_size != file.bytes()) {
      state.SkipWithError("Store wrote a different size");  // every line ends with CR LF
    }
  }
  std::remove(stored.c_str());
  state.SetBytesProcessed(state.iterations() * file.bytes());
}
BENCHMARK(BM_LoadSortStore4GB)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

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
