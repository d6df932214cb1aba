// A fresh folder for one test's files, removed with everything in it when the test ends.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace corvala::testing {

class TempDir {
 public:
  TempDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("corvala-" + std::to_string(random()) + "-" + std::to_string(counter_++));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder with '/' separators (Windows accepts them too), without a trailing one.
  std::string Folder() const { return path_.generic_string(); }
  std::string Path(const std::string& name) const { return Folder() + "/" + name; }

  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(Path(name), std::ios::binary);
    out << bytes;
    return Path(name);
  }
  std::string Read(const std::string& name) const { return ReadPath(Path(name)); }
  static std::string ReadPath(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  static inline std::atomic<int> counter_{0};
  std::filesystem::path path_;
};

}  // namespace corvala::testing
