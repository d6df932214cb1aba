// Comparing two identical 100 MB files: FileCompare beside reading both whole and memcmp,
// and beside the cmp program run as a process. The files are made in a temporary folder
// when first needed and removed at the end of the run. Each counts the processor time spent
// on it, the system's share included (for cmp: the time of the child processes), so that
// the ratios hold on a busy machine.
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/support/compare.h"
#include "corvala/files.h"

namespace {

constexpr size_t kFileSize = 100u << 20;

class TwinFiles {
 public:
  TwinFiles() {
    char pattern[] = "/tmp/corvala-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return;
    folder_ = pattern;
    first_ = folder_ + "/first.bin";
    second_ = folder_ + "/second.bin";
    // Varied bytes, so that nothing compares faster for being uniform.
    std::vector<char> chunk(1u << 20);
    uint32_t x = 2463534242u;
    std::FILE* a = std::fopen(first_.c_str(), "wb");
    std::FILE* b = std::fopen(second_.c_str(), "wb");
    for (size_t written = 0; a && b && written < kFileSize; written += chunk.size()) {
      for (char& c : chunk) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x);
      }
      ready_ = std::fwrite(chunk.data(), 1, chunk.size(), a) == chunk.size() &&
               std::fwrite(chunk.data(), 1, chunk.size(), b) == chunk.size();
      if (!ready_) break;
    }
    if (a) std::fclose(a);
    if (b) std::fclose(b);
  }
  ~TwinFiles() {
    if (folder_.empty()) return;
    std::remove(first_.c_str());
    std::remove(second_.c_str());
    rmdir(folder_.c_str());
  }
  bool ready() const { return ready_; }
  const std::string& first() const { return first_; }
  const std::string& second() const { return second_; }

 private:
  std::string folder_, first_, second_;
  bool ready_ = false;
};

const TwinFiles& Files() {
  static const TwinFiles files;
  return files;
}

bool ReadWhole(const std::string& name, std::vector<char>& buffer) {
  std::FILE* f = std::fopen(name.c_str(), "rb");
  if (f == nullptr) return false;
  const size_t read = std::fread(buffer.data(), 1, buffer.size(), f);
  std::fclose(f);
  return read == buffer.size();
}

void BM_FileCompare(benchmark::State& state) {
  const TwinFiles& files = Files();
  if (!files.ready()) return state.SkipWithError("could not write the files");
  for (auto _ : state) {
    const corvala::FileDifference result =
        corvala::FileCompare(files.first().c_str(), files.second().c_str(), 0);
    if (result.difference != 0 || result.position != kFileSize) {
      return state.SkipWithError("the files compared as different");
    }
  }
}
BENCHMARK(BM_FileCompare)->Unit(benchmark::kMillisecond);

// The buffers are made once: only the reads and the compare are timed.
void BM_ReadAndMemcmp(benchmark::State& state) {
  const TwinFiles& files = Files();
  if (!files.ready()) return state.SkipWithError("could not write the files");
  std::vector<char> a(kFileSize), b(kFileSize);
  for (auto _ : state) {
    if (!ReadWhole(files.first(), a) || !ReadWhole(files.second(), b)) {
      return state.SkipWithError("could not read the files");
    }
    if (std::memcmp(a.data(), b.data(), kFileSize) != 0) {
      return state.SkipWithError("the files compared as different");
    }
  }
}
BENCHMARK(BM_ReadAndMemcmp)->Unit(benchmark::kMillisecond);

double ChildSeconds() {
  rusage usage = {};
  getrusage(RUSAGE_CHILDREN, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_CmpProcess(benchmark::State& state) {
  const TwinFiles& files = Files();
  if (!files.ready()) return state.SkipWithError("could not write the files");
  const std::string command = "cmp -s '" + files.first() + "' '" + files.second() + "'";
  for (auto _ : state) {
    const double before = ChildSeconds();
    if (std::system(command.c_str()) != 0) return state.SkipWithError("cmp failed");
    state.SetIterationTime(ChildSeconds() - before);
  }
}
BENCHMARK(BM_CmpProcess)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

CORVALA_COMPARE(BM_FileCompare, BM_ReadAndMemcmp);
CORVALA_COMPARE(BM_FileCompare, BM_CmpProcess);
