#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "corvala/core.h"
#include "corvala/files.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "tests/support/runtime_test.h"
#include "tests/support/temp_dir.h"

namespace corvala {
namespace {

using testing::ExitsWith;
using testing::TempDir;

class FileNumbersTest : public testing::RuntimeTest {
 protected:
  void TearDown() override {
    CloseFile(kCloseAllFiles);
    RuntimeTest::TearDown();
  }
  std::string FileErrorText() const {
    return reinterpret_cast<const char*>(CommonData().entries[6]);
  }
  // Writes bytes through the handle on fileNumber, then closes the number.
  void WriteAndClose(int32_t fileNumber, const std::string& bytes) {
    DWORD written = 0;
    platform::WriteFile(reinterpret_cast<HANDLE>(FileTable()[fileNumber]), bytes.data(),
                        static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseFile(fileNumber);
  }
  TempDir dir_;
};

TEST_F(FileNumbersTest, OpenInputAsGivenAndMissing) {
  std::string path = dir_.Write("in.txt", "abc");
  Word handle = OpenInput(3, path.c_str(), 0);
  EXPECT_NE(handle, 0u);
  EXPECT_NE(handle, kOpenFailed);
  EXPECT_EQ(FileTable()[3], handle);

  std::string missing = dir_.Path("missing.txt");
  EXPECT_EQ(OpenInput(4, missing.c_str(), 0), kOpenFailed);
  EXPECT_EQ(FileTable()[4], kOpenFailed);
  EXPECT_EQ(FileErrorText(), "File not found: " + missing);

  // A search that finds nothing fails without a new reason.
  EXPECT_EQ(OpenInput(5, "corvala-surely-missing.txt", 1), kOpenFailed);
  EXPECT_EQ(FileTable()[5], kOpenFailed);
  EXPECT_EQ(FileErrorText(), "File not found: " + missing);
}

TEST_F(FileNumbersTest, OpenInputSearchesProgramFolderAndFolderList) {
  std::filesystem::create_directories(dir_.Path("prog"));
  std::filesystem::create_directories(dir_.Path("data"));
  dir_.Write("prog/found.txt", "program folder");
  dir_.Write("data/listed.txt", "listed");
  platform::hooks::SetModulePath(dir_.Path("prog/app.exe").c_str());

  char buffer[32] = {};
  ASSERT_NE(OpenInput(2, "found.txt", 1), kOpenFailed);
  EXPECT_EQ(std::string(ReadFromFile(2, buffer, sizeof buffer - 1).buffer), "program folder");

  std::string folders = dir_.Path("prog") + ";" + dir_.Path("data");
  ASSERT_NE(OpenInput(3, "listed.txt", folders.c_str()), kOpenFailed);
  FileBytes read = ReadFromFile(3, buffer, sizeof buffer - 1);
  EXPECT_EQ(std::string(read.buffer, read.count), "listed");
  EXPECT_EQ(OpenInput(4, "found.txt", dir_.Path("data").c_str()), kOpenFailed);
}

TEST_F(FileNumbersTest, OpenOutputModes) {
  struct Case {
    int32_t mode;
    const char* before;  // null: no file yet
    const char* written;
    const char* after;
  };
  const Case cases[] = {
      {'a', nullptr, "new", "new"},
      {'A', "old\r\n", "new", "old\r\nnew"},
      {'u', "0123456789", "abc", "abc3456789"},
      {'U', nullptr, "abc", "abc"},
      {'O', "0123456789", "abc", "abc"},
      {'x', "0123456789", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<char>(c.mode));
    std::filesystem::remove(dir_.Path("out.txt"));
    if (c.before != nullptr) dir_.Write("out.txt", c.before);
    Word handle = OpenOutput(6, dir_.Path("out.txt").c_str(), c.mode);
    ASSERT_NE(handle, kOpenFailed);
    EXPECT_EQ(FileTable()[6], handle);
    WriteAndClose(6, c.written);
    EXPECT_EQ(dir_.Read("out.txt"), c.after);
  }
}

TEST_F(FileNumbersTest, OpenOutputFailureAndLongNames) {
  std::string path = dir_.Path("no/such/folder.txt");
  EXPECT_EQ(OpenOutput(1, path.c_str(), 'O'), kOpenFailed);
  EXPECT_EQ(FileTable()[1], kOpenFailed);
  EXPECT_EQ(FileErrorText(), "Could not open " + path);

  // The reason is cut to its buffer, whatever the name's length.
  std::string longName = dir_.Path(std::string(1000, 'n'));
  EXPECT_EQ(OpenInput(1, longName.c_str(), 0), kOpenFailed);
  std::string expected = ("File not found: " + longName).substr(0, 559);
  EXPECT_EQ(FileErrorText(), expected);
}

TEST_F(FileNumbersTest, SecondOpenOnANumberLeavesTheFirstOpen) {
  std::string first = dir_.Write("first.txt", "first");
  std::string second = dir_.Write("second.txt", "second");
  Word firstHandle = OpenInput(3, first.c_str(), 0);
  OpenInput(3, second.c_str(), 0);
  EXPECT_NE(FileTable()[3], firstHandle);
  char buffer[8] = {};
  DWORD read = 0;
  EXPECT_TRUE(platform::ReadFile(reinterpret_cast<HANDLE>(firstHandle), buffer, 5, &read, nullptr));
  EXPECT_EQ(std::string(buffer, read), "first");
  EXPECT_TRUE(platform::CloseHandle(reinterpret_cast<HANDLE>(firstHandle)));
}

TEST_F(FileNumbersTest, ReadFromFile) {
  char buffer[8] = "-------";
  FileBytes never = ReadFromFile(2, buffer, 4);
  EXPECT_EQ(never.count, 0);
  EXPECT_EQ(never.buffer, buffer);
  OpenInput(2, dir_.Path("missing").c_str(), 0);
  EXPECT_EQ(ReadFromFile(2, buffer, 4).count, 0);
  EXPECT_STREQ(buffer, "-------");

  OpenInput(2, dir_.Write("in.txt", "abcdef").c_str(), 0);
  EXPECT_EQ(ReadFromFile(2, buffer, 4).count, 4);
  EXPECT_EQ(ReadFromFile(2, buffer, 4).count, 2);
  EXPECT_EQ(std::string(buffer, 2), "ef");
  EXPECT_EQ(ReadFromFile(2, buffer, 4).count, 0);
}

TEST_F(FileNumbersTest, TouchFileSetsTheCurrentTime) {
  std::string path = dir_.Write("t.txt", "t");
  auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
  std::filesystem::last_write_time(path, old);
  Word handle = OpenOutput(4, path.c_str(), 'u');
  EXPECT_NE(TouchFile(handle, 1), 0);
  CloseFile(4);
  auto age = std::filesystem::file_time_type::clock::now() - std::filesystem::last_write_time(path);
  EXPECT_LT(std::chrono::abs(age), std::chrono::minutes(1));
}

TEST_F(FileNumbersTest, TouchFileFailure) {
  // The entry of a free number is no handle.
  EXPECT_EQ(TouchFile(FileTable()[4], 0), 0);
  EXPECT_EXIT(TouchFile(FileTable()[4], 1), ExitsWith(0), "Fatal error:\\s+GetLastError:");
}

}  // namespace
}  // namespace corvala
