#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "corvala/core.h"
#include "corvala/files.h"
#include "tests/support/pipe_feed.h"
#include "tests/support/runtime_test.h"
#include "tests/support/temp_dir.h"

namespace corvala {
namespace {

namespace fs = std::filesystem;

class FileCompareTest : public testing::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    dir_ = fs::temp_directory_path() / ("corvala_compare_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    RuntimeTest::TearDown();
  }
  FileDifference Compare(const std::string& first, const std::string& second, int32_t mode) {
    std::string a = (dir_ / "a").string(), b = (dir_ / "b").string();
    std::ofstream(a, std::ios::binary) << first;
    std::ofstream(b, std::ios::binary) << second;
    return FileCompare(a.c_str(), b.c_str(), mode);
  }
  static std::string Pattern(size_t size) {
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i) data[i] = static_cast<char>('a' + i * 7 % 26);
    return data;
  }

  fs::path dir_;
};

TEST_F(FileCompareTest, IdenticalFilesGiveZeroAndTheirSize) {
  // Sizes around the 64 KB blocks the comparison reads as well.
  for (size_t size : {0, 1, 15, 16, 4095, 4096, 4097, 8192, 10000, 65535, 65536, 65537, 140000}) {
    SCOPED_TRACE(size);
    FileDifference d = Compare(Pattern(size), Pattern(size), 0);
    EXPECT_EQ(d.difference, 0);
    EXPECT_EQ(d.position, size);
    EXPECT_EQ(FileTable()[9], 0u);
    EXPECT_EQ(FileTable()[10], 0u);
  }
}

TEST_F(FileCompareTest, ReportsTheFirstDifference) {
  struct Case {
    size_t at;
    char first, second;
  } cases[] = {{0, 'z', 'a'},     {15, 'a', 'b'},   {4095, 'x', 'y'},
               {4096, 'q', 'p'},  {5000, 3, 1},     {8191, '\xff', '\x00'},
               {65536, 'b', 'c'}, {70001, 'k', 'j'}};  // in the second block
  for (const Case& c : cases) {
    SCOPED_TRACE(c.at);
    std::string a = Pattern(80000), b = a;
    a[c.at] = c.first;
    b[c.at] = c.second;
    for (size_t later : {c.at + 1, size_t{79999}}) b[later] ^= 1;  // only the first counts
    FileDifference d = Compare(a, b, 0);
    EXPECT_EQ(d.difference, static_cast<uint8_t>(c.first) - static_cast<uint8_t>(c.second));
    EXPECT_EQ(d.position, c.at);
  }
}

TEST_F(FileCompareTest, ModeOneFoldsBit0x20) {
  std::string lower = "hello world\r\n" + Pattern(5000);
  std::string upper = lower;
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  FileDifference d = Compare(lower, upper, 1);
  EXPECT_EQ(d.difference, 0);
  EXPECT_EQ(d.position, lower.size());
  d = Compare(lower, upper, 0);
  EXPECT_EQ(d.difference, 'h' - 'H');
  EXPECT_EQ(d.position, 0u);
  d = Compare("a\rb", "a-b", 1);  // 13 and 45 differ only in bit 0x20
  EXPECT_EQ(d.difference, 0);
  d = Compare("a\rb", "a-b", 0);
  EXPECT_EQ(d.difference, 13 - 45);
  EXPECT_EQ(d.position, 1u);
}

TEST_F(FileCompareTest, DifferentSizesGiveANonZeroDifferenceAndTheFirstSize) {
  struct Case {
    std::string first, second;
  } cases[] = {{"abc", "abcd"},
               {"abcd", "abc"},
               {"", "x"},
               {Pattern(4096), Pattern(4100)},
               {std::string(4094, 'a'), std::string(4094, 'a') + std::string(2, '\0')}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first.size());
    FileDifference d = Compare(c.first, c.second, 0);
    EXPECT_NE(d.difference, 0);
    EXPECT_EQ(d.position, c.first.size());
  }
}

TEST_F(FileCompareTest, MissingFileEndsTheRunNamingIt) {
  std::string present = (dir_ / "present").string();
  std::ofstream(present) << "x";
  EXPECT_EXIT(FileCompare("no-such-first.txt", present.c_str(), 0), testing::ExitsWith(-5),
              "Could not open\nno-such-first.txt\nfor Recall");
  EXPECT_EXIT(FileCompare(present.c_str(), "no-such-second.txt", 0), testing::ExitsWith(-5),
              "no-such-second.txt");
}

// A pipe reports no size: it is compared to its end, and gives what a file of its bytes gives.
TEST_F(FileCompareTest, PipesCompareAsFilesOfTheirBytes) {
  const std::string large = Pattern(200000);
  std::string changed = large;
  changed[150000] = '!';
  struct Case {
    std::string pipe, file;
  } cases[] = {{"", ""},         {"abc", "abc"},  {large, large},       {large, changed},
               {changed, large}, {"abc", "abcd"}, {large, large + "x"}, {"", "x"}};
  testing::TempDir dir;
  int serial = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.pipe.size() << " and " << c.file.size() << " bytes");
    const FileDifference expected = Compare(c.pipe, c.file, 0);
    const std::string file = dir.Write("file", c.file);
    testing::PipeFeed pipe(dir, "pipe-" + std::to_string(serial++), c.pipe);
    const FileDifference found = FileCompare(pipe.path().c_str(), file.c_str(), 0);
    EXPECT_EQ(found.difference, expected.difference);
    EXPECT_EQ(found.position, expected.position);
    EXPECT_EQ(FileTable()[9], 0u);
    EXPECT_EQ(FileTable()[10], 0u);
  }
}

#ifndef _WIN32
TEST_F(FileCompareTest, ProcFileAgainstACopyOfIt) {
  std::ifstream in("/proc/version", std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  testing::TempDir dir;
  const FileDifference found = FileCompare("/proc/version", dir.Write("copy", bytes).c_str(), 0);
  EXPECT_EQ(found.difference, 0);
  EXPECT_EQ(found.position, bytes.size());
}

// An endless device compared with a file ends where the file does, at the first difference.
TEST_F(FileCompareTest, EndlessDeviceStopsAtTheFirstDifference) {
  testing::TempDir dir;
  const FileDifference found =
      FileCompare("/dev/zero", dir.Write("zeros", std::string(100000, '\0') + "z").c_str(), 0);
  EXPECT_EQ(found.difference, -'z');
  EXPECT_EQ(found.position, 100000u);
}
#endif

}  // namespace
}  // namespace corvala
