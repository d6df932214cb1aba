#include "platform/find.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "tests/support/temp_dir.h"

namespace {

using corvala::testing::TempDir;

// The name FindFirstFileA finds for pattern in dir, or "" with the last error in *error.
std::string FirstMatch(const TempDir& dir, const std::string& pattern, DWORD* error = nullptr) {
  WIN32_FIND_DATAA data;
  HANDLE search = platform::FindFirstFileA(dir.Path(pattern).c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) {
    if (error != nullptr) *error = platform::GetLastError();
    return "";
  }
  EXPECT_TRUE(platform::FindClose(search));
  return data.cFileName;
}

TEST(FindFirstFileATest, WildcardsInTheLastComponent) {
  TempDir dir;
  dir.Write("alpha.txt", "1");
  dir.Write("noext", "2");
  dir.Write("beta.log", "3");
  struct Case {
    const char* pattern;
    const char* match;
  };
  const Case cases[] = {
      {"alpha.txt", "alpha.txt"}, {"*.txt", "alpha.txt"}, {"?lpha.*", "alpha.txt"},
      {"b*", "beta.log"},         {"*.log", "beta.log"},  {"noe?t", "noext"},
      {"no*.*", "noext"},  // a final ".*" also matches a name without a dot
      {"*a.l*g", "beta.log"},
  };
  for (const Case& c : cases) EXPECT_EQ(FirstMatch(dir, c.pattern), c.match) << c.pattern;
}

TEST(FindFirstFileATest, MissesTellAMissingFileFromAMissingFolder) {
  TempDir dir;
  dir.Write("alpha.txt", "1");
  struct Case {
    const char* pattern;
    DWORD error;
  };
  const Case cases[] = {
      {"*.doc", ERROR_FILE_NOT_FOUND},
      {"alpha.tx?x", ERROR_FILE_NOT_FOUND},
      {"gamma.txt", ERROR_FILE_NOT_FOUND},
      {"nofolder/*.txt", ERROR_PATH_NOT_FOUND},
  };
  for (const Case& c : cases) {
    DWORD error = 0;
    EXPECT_EQ(FirstMatch(dir, c.pattern, &error), "") << c.pattern;
    EXPECT_EQ(error, c.error) << c.pattern;
  }
}

TEST(FindFirstFileATest, FindDataFields) {
  TempDir dir;
  dir.Write("sized.bin", std::string(1000, 'x'));
  std::filesystem::create_directory(dir.Path("sub"));
  WIN32_FIND_DATAA data;
  HANDLE search = platform::FindFirstFileA(dir.Path("sized.bin").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.nFileSizeLow, 1000u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  // Written moments ago: a file time of this century (after 2000, before 2100).
  uint64_t written = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                     data.ftLastWriteTime.dwLowDateTime;
  EXPECT_GT(written, 125911584000000000u);
  EXPECT_LT(written, 157469184000000000u);
  EXPECT_NE(data.ftCreationTime.dwHighDateTime, 0u);
  EXPECT_NE(data.ftLastAccessTime.dwHighDateTime, 0u);
  EXPECT_TRUE(platform::FindClose(search));
#ifndef _WIN32
  // A closed search cannot be closed again (Windows leaves that undefined).
  EXPECT_FALSE(platform::FindClose(search));
  EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_HANDLE);
#endif

  search = platform::FindFirstFileA(dir.Path("sub").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_NE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_STREQ(data.cFileName, "sub");
  platform::FindClose(search);
}

#ifndef _WIN32
// The POSIX backend lists names as an NTFS folder does: in upper-case order, "." first.
TEST(FindFirstFileATest, FirstMatchInUpperCaseOrder) {
  TempDir dir;
  dir.Write("b.txt", "1");
  dir.Write("C.txt", "1");
  dir.Write("A_.txt", "1");
  dir.Write("a.txt", "1");
  EXPECT_EQ(FirstMatch(dir, "*.txt"), "a.txt");
  EXPECT_EQ(FirstMatch(dir, "[*"), "");
  EXPECT_EQ(FirstMatch(dir, "*"), ".");
  EXPECT_EQ(FirstMatch(dir, "?*.txt"), "a.txt");
}
#endif

TEST(FileSizeTest, ByHandleAndByName) {
  TempDir dir;
  std::string name = dir.Write("size.bin", std::string(70000, 'z'));
  HANDLE file = platform::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  EXPECT_TRUE(platform::GetFileSizeEx(file, &size));
  EXPECT_EQ(size.QuadPart, 70000);
  platform::CloseHandle(file);
  EXPECT_FALSE(platform::GetFileSizeEx(nullptr, &size));
  EXPECT_EQ(platform::GetLastError(), ERROR_INVALID_HANDLE);

  WIN32_FILE_ATTRIBUTE_DATA data;
  EXPECT_TRUE(platform::GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.nFileSizeLow, 70000u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  EXPECT_FALSE(
      platform::GetFileAttributesExA(dir.Path("none.bin").c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(platform::GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(
      platform::GetFileAttributesExA(dir.Path("none/x.bin").c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(platform::GetLastError(), ERROR_PATH_NOT_FOUND);
}

}  // namespace
