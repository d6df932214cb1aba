// Recall of arbitrary bytes against a plain model of its line rules, then Store of the
// result. Round trip: storing every loaded line gives the input back byte for byte when it
// ends with CR LF, and the input followed by CR LF otherwise (the empty input included).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/strings.h"

namespace {

struct Model {
  std::vector<std::string> lines;
  int32_t bareLineFeeds = 0;
};

// Lines end at CR LF only; a lone LF or CR stays in its line.
Model Lines(const std::string& bytes) {
  Model model;
  size_t start = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\n') continue;
    if (i > 0 && bytes[i - 1] == '\r') {
      model.lines.push_back(bytes.substr(start, i - 1 - start));
      start = i + 1;
    } else {
      ++model.bareLineFeeds;
    }
  }
  if (model.lines.empty() || start != bytes.size()) model.lines.push_back(bytes.substr(start));
  return model;
}

// A folder of the fuzzer's own for the two files, removed when the fuzzer exits.
struct TempFolder {
  TempFolder()
      : path((std::filesystem::temp_directory_path() /
              ("corvala-recall-fuzz-" + std::to_string(getpid())))
                 .string()) {
    std::filesystem::create_directories(path);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::string path;
};

const std::string& Folder() {
  static const TempFolder folder;
  return folder.path;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string in = Folder() + "/in.txt";
  const std::string out = Folder() + "/out.txt";
  std::ofstream(in, std::ios::binary) << input;

  corvala::RecallResult result = corvala::Recall(in.c_str(), 1, 0, 0);
  const Model model = Lines(input);
  if (result.bytes != static_cast<int32_t>(size)) std::abort();
  if (result.lines != static_cast<int32_t>(model.lines.size())) std::abort();
  if (corvala::BareLineFeedCount != model.bareLineFeeds) std::abort();
  auto* array = reinterpret_cast<corvala::ArrayDescriptor*>(corvala::ArrayTable()[1]);
  for (int32_t k = 0; k < result.lines; ++k) {
    const corvala::ElementRecord& record = array->elements()[k];
    const std::string& line = model.lines[static_cast<size_t>(k)];
    if (-record.length != static_cast<int32_t>(line.size())) std::abort();
    if (line.compare(0, line.size(), record.text, line.size()) != 0) std::abort();
    if (record.text[line.size()] != '\0') std::abort();
  }

  if (corvala::Store(out.c_str(), 1, result.lines) != result.lines) std::abort();
  const bool endsWithBreak = size >= 2 && input.compare(size - 2, 2, "\r\n") == 0;
  if (ReadAll(out) != (endsWithBreak ? input : input + "\r\n")) std::abort();
  corvala::EraseArray(1);
  return 0;
}
