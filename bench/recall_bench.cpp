// Loading a text file into an array and storing it back: Recall beside std::getline, a single
// read split with memchr, and a plain read (the floor); Store beside std::ofstream line writes.
// The input, about 100 MB of CR LF lines of mixed lengths, is made in a temporary folder at
// the start and removed at the end.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bench/support/compare.h"
#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/strings.h"

namespace {

constexpr size_t kInputBytes = 100u << 20;
constexpr int32_t kArray = 1;

class Input {
 public:
  Input() {
    folder_ = std::filesystem::temp_directory_path() /
              ("corvala-recall-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "input.txt").string();
    output_ = (folder_ / "output.txt").string();
    // Mostly short and medium lines with the odd long one, as text files have them.
    std::mt19937 random(42);
    std::string text;
    text.reserve(kInputBytes + 4096);
    while (text.size() < kInputBytes) {
      uint32_t pick = random() % 100;
      size_t length = pick < 60 ? random() % 40 : pick < 95 ? 40 + random() % 120 : random() % 2000;
      for (size_t i = 0; i < length; ++i) text += static_cast<char>(' ' + random() % 95);
      text += "\r\n";
    }
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~Input() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  const std::string& path() const { return path_; }
  const std::string& output() const { return output_; }

 private:
  std::filesystem::path folder_;
  std::string path_;
  std::string output_;
};

const Input& TheInput() {
  static Input input;
  return input;
}

void BM_Recall(benchmark::State& state) {
  const char* path = TheInput().path().c_str();
  for (auto _ : state) {
    corvala::RecallResult result = corvala::Recall(path, kArray, 0, 0);
    benchmark::DoNotOptimize(result);
    corvala::EraseArray(kArray);
  }
}
BENCHMARK(BM_Recall);

void BM_Getline(benchmark::State& state) {
  for (auto _ : state) {
    std::ifstream in(TheInput().path(), std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_Getline);

std::unique_ptr<char[]> ReadWhole(size_t* size) {
  std::FILE* file = std::fopen(TheInput().path().c_str(), "rb");
  std::fseek(file, 0, SEEK_END);
  *size = static_cast<size_t>(std::ftell(file));
  std::fseek(file, 0, SEEK_SET);
  std::unique_ptr<char[]> data(new char[*size]);
  *size = std::fread(data.get(), 1, *size, file);
  std::fclose(file);
  return data;
}

void BM_ReadMemchr(benchmark::State& state) {
  for (auto _ : state) {
    size_t size;
    std::unique_ptr<char[]> data = ReadWhole(&size);
    std::vector<std::string_view> lines;
    const char* start = data.get();
    const char* end = start + size;
    for (const char* p = start; p < end;) {
      const char* lineFeed = static_cast<const char*>(std::memchr(p, '\n', end - p));
      if (lineFeed == nullptr) break;
      if (lineFeed > start && lineFeed[-1] == '\r') {
        lines.emplace_back(start, lineFeed - 1 - start);
        start = lineFeed + 1;
      }
      p = lineFeed + 1;
    }
    if (start != end) lines.emplace_back(start, end - start);
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_ReadMemchr);

void BM_PlainRead(benchmark::State& state) {
  for (auto _ : state) {
    size_t size;
    std::unique_ptr<char[]> data = ReadWhole(&size);
    benchmark::DoNotOptimize(data.get());
  }
}
BENCHMARK(BM_PlainRead);

void BM_Store(benchmark::State& state) {
  corvala::RecallResult loaded = corvala::Recall(TheInput().path().c_str(), kArray, 0, 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(corvala::Store(TheInput().output().c_str(), kArray, loaded.lines));
  }
  corvala::EraseArray(kArray);
}
BENCHMARK(BM_Store);

void BM_Ofstream(benchmark::State& state) {
  corvala::RecallResult loaded = corvala::Recall(TheInput().path().c_str(), kArray, 0, 0);
  const corvala::ArrayDescriptor* array =
      reinterpret_cast<const corvala::ArrayDescriptor*>(corvala::ArrayTable()[kArray]);
  std::vector<std::string> lines;
  for (int32_t k = 0; k < loaded.lines; ++k) {
    const corvala::ElementRecord& record =
        const_cast<corvala::ArrayDescriptor*>(array)->elements()[k];
    lines.emplace_back(record.text, static_cast<size_t>(-record.length));
  }
  corvala::EraseArray(kArray);
  for (auto _ : state) {
    std::ofstream out(TheInput().output(), std::ios::binary);
    for (const std::string& line : lines) out << line << "\r\n";
  }
}
BENCHMARK(BM_Ofstream);

}  // namespace

CORVALA_COMPARE(BM_Recall, BM_Getline);
CORVALA_COMPARE(BM_Recall, BM_ReadMemchr);
CORVALA_COMPARE(BM_Recall, BM_PlainRead);
CORVALA_COMPARE(BM_Store, BM_Ofstream);
