#include "platform/files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/errors.h"
#include "platform/handles.h"
#include "platform/hooks.h"
#include "tests/support/temp_dir.h"

#ifndef _WIN32
#include <unistd.h>

#include "platform/posix/fd_handle.h"
#endif

namespace {

using corvala::testing::TempDir;

HANDLE Open(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
  return platform::CreateFileA(path.c_str(), access, share, nullptr, disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool IsHandle(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

TEST(CreateFileATest, DispositionsOnMissingAndExistingFiles) {
  struct Case {
    DWORD disposition;
    bool exists;
    DWORD error;  // NO_ERROR on success where Windows defines it; else the failure's code
    bool opens;
    int sizeAfter;  // -1: no file
  };
  const Case cases[] = {
      {CREATE_NEW, false, NO_ERROR, true, 0},
      {CREATE_NEW, true, ERROR_FILE_EXISTS, false, 3},
      {CREATE_ALWAYS, false, NO_ERROR, true, 0},
      {CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, true, 0},
      {OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, false, -1},
      {OPEN_EXISTING, true, NO_ERROR, true, 3},
      {OPEN_ALWAYS, false, NO_ERROR, true, 0},
      {OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, true, 3},
      {TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND, false, -1},
      {TRUNCATE_EXISTING, true, NO_ERROR, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "disposition " << c.disposition << " exists " << c.exists);
    TempDir dir;
    std::string path = dir.Path("f.txt");
    if (c.exists) dir.Write("f.txt", "old");
    platform::SetLastError(12345);
    HANDLE h = Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, c.disposition);
    EXPECT_EQ(IsHandle(h), c.opens);
    if (!c.opens || c.disposition == CREATE_ALWAYS || c.disposition == OPEN_ALWAYS) {
      EXPECT_EQ(platform::GetLastError(), c.error);
    }
    if (c.opens) {
      EXPECT_TRUE(platform::CloseHandle(h));
    }
    if (c.sizeAfter < 0) {
      EXPECT_FALSE(std::filesystem::exists(path));
    } else {
      EXPECT_EQ(std::filesystem::file_size(path), static_cast<uintmax_t>(c.sizeAfter));
    }
  }
}

TEST(CreateFileATest, MissingFolderAndFolderItself) {
  TempDir dir;
  EXPECT_EQ(Open(dir.Path("no/such.txt"), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(platform::GetLastError(), DWORD{ERROR_PATH_NOT_FOUND});
  EXPECT_EQ(Open(dir.Folder(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(platform::GetLastError(), DWORD{ERROR_ACCESS_DENIED});
}

TEST(CreateFileATest, SharingBetweenOpenHandles) {
  TempDir dir;
  std::string path = dir.Write("f.txt", "keep me");
  HANDLE writer = Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);
  ASSERT_TRUE(IsHandle(writer));
  // A reader that does not share writing clashes with the open writer.
  EXPECT_EQ(Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(platform::GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
  // A second writer is refused before it could truncate anything.
  EXPECT_EQ(Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(platform::GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
  EXPECT_EQ(dir.Read("f.txt"), "keep me");
  HANDLE reader = Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  EXPECT_TRUE(IsHandle(reader));
  EXPECT_TRUE(platform::CloseHandle(reader));
  EXPECT_TRUE(platform::CloseHandle(writer));
  reader = Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  EXPECT_TRUE(IsHandle(reader));
  EXPECT_TRUE(platform::CloseHandle(reader));
}

TEST(FileIoTest, ReadWritePositionAndSize) {
  TempDir dir;
  HANDLE h = Open(dir.Path("f.txt"), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
  ASSERT_TRUE(IsHandle(h));
  DWORD done = 0;
  EXPECT_TRUE(platform::WriteFile(h, "hello world", 11, &done, nullptr));
  EXPECT_EQ(done, 11u);
  DWORD high = 99;
  EXPECT_EQ(platform::GetFileSize(h, &high), 11u);
  EXPECT_EQ(high, 0u);
  EXPECT_EQ(platform::SetFilePointer(h, 0, nullptr, FILE_BEGIN), 0u);
  char buffer[16] = {};
  EXPECT_TRUE(platform::ReadFile(h, buffer, 5, &done, nullptr));
  EXPECT_EQ(std::string(buffer, done), "hello");
  EXPECT_EQ(platform::SetFilePointer(h, 0, nullptr, FILE_CURRENT), 5u);
  EXPECT_EQ(platform::SetFilePointer(h, -20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(platform::GetLastError(), DWORD{ERROR_NEGATIVE_SEEK});
  EXPECT_EQ(platform::SetFilePointer(h, -5, nullptr, FILE_END), 6u);
  EXPECT_TRUE(platform::ReadFile(h, buffer, sizeof buffer, &done, nullptr));
  EXPECT_EQ(std::string(buffer, done), "world");
  // At the end a read succeeds with 0 bytes.
  EXPECT_TRUE(platform::ReadFile(h, buffer, sizeof buffer, &done, nullptr));
  EXPECT_EQ(done, 0u);
  EXPECT_TRUE(platform::CloseHandle(h));

  h = Open(dir.Path("f.txt"), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  done = 7;
  EXPECT_FALSE(platform::WriteFile(h, "x", 1, &done, nullptr));
  EXPECT_EQ(platform::GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  EXPECT_EQ(done, 0u);
  EXPECT_TRUE(platform::CloseHandle(h));
  EXPECT_EQ(dir.Read("f.txt"), "hello world");
}

TEST(FileTypeTest, DiskPipeDeviceAndNoFile) {
  TempDir dir;
  dir.Write("f.txt", "data");
  HANDLE file = Open(dir.Path("f.txt"), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  EXPECT_EQ(platform::GetFileType(file), DWORD{FILE_TYPE_DISK});
  platform::CloseHandle(file);
#ifdef _WIN32
  const char* device = "NUL";
  HANDLE ends[2];
  ASSERT_TRUE(::CreatePipe(&ends[0], &ends[1], nullptr, 0));
#else
  const char* device = "/dev/null";
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  HANDLE ends[2] = {platform::posix::HandleFromFd(fds[0]), platform::posix::HandleFromFd(fds[1])};
#endif
  EXPECT_EQ(platform::GetFileType(ends[0]), DWORD{FILE_TYPE_PIPE});
  platform::CloseHandle(ends[0]);
  platform::CloseHandle(ends[1]);
  // A device opens for writing with CREATE_ALWAYS: there is nothing to empty.
  HANDLE null = Open(device, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
  ASSERT_TRUE(IsHandle(null));
  EXPECT_EQ(platform::GetFileType(null), DWORD{FILE_TYPE_CHAR});
  platform::CloseHandle(null);

  EXPECT_EQ(platform::GetFileType(INVALID_HANDLE_VALUE), DWORD{FILE_TYPE_UNKNOWN});
  EXPECT_NE(platform::GetLastError(), DWORD{NO_ERROR});
}

TEST(SearchPathATest, FindsInProgramFolderFirst) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path("prog"));
  dir.Write("prog/data.txt", "x");
  platform::hooks::SetModulePath(dir.Path("prog/app.exe").c_str());
  char found[MAX_PATH];
  char* part = nullptr;
  DWORD length = platform::SearchPathA(nullptr, "data.txt", nullptr, MAX_PATH, found, &part);
  platform::hooks::ResetAll();
  platform::hooks::ScriptMessageBoxes(true);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(length, std::strlen(found));
  EXPECT_TRUE(std::filesystem::equivalent(found, dir.Path("prog/data.txt")));
  EXPECT_STREQ(part, "data.txt");
}

TEST(SearchPathATest, PathListExtensionBufferSizeAndMisses) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path("a"));
  std::filesystem::create_directories(dir.Path("b"));
  dir.Write("b/data.txt", "x");
  std::string list = dir.Path("a") + ";" + dir.Path("b");
  char found[MAX_PATH];
  char* part = nullptr;
  DWORD length = platform::SearchPathA(list.c_str(), "data", ".txt", MAX_PATH, found, &part);
  ASSERT_GT(length, 0u);
  EXPECT_TRUE(std::filesystem::equivalent(found, dir.Path("b/data.txt")));
  // The extension is only added to a name without one.
  EXPECT_EQ(platform::SearchPathA(list.c_str(), "data.txt", ".csv", MAX_PATH, found, &part),
            length);
  // Too small a buffer: the size needed, terminator included.
  EXPECT_EQ(platform::SearchPathA(list.c_str(), "data.txt", nullptr, 4, found, &part), length + 1);
  EXPECT_EQ(platform::SearchPathA(list.c_str(), "none.txt", nullptr, MAX_PATH, found, &part), 0u);
  EXPECT_EQ(platform::GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});
#ifndef _WIN32
  std::string colons = dir.Path("a") + ":" + dir.Path("b");
  EXPECT_EQ(platform::SearchPathA(colons.c_str(), "data.txt", nullptr, MAX_PATH, found, &part),
            length);
#endif
}

uint64_t Ticks(const FILETIME& t) {
  return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

TEST(FileTimeTest, SystemTimeConversion) {
  struct Case {
    SYSTEMTIME time;
    bool valid;
    uint64_t ticks;
  };
  const Case cases[] = {
      {{1601, 1, 0, 1, 0, 0, 0, 0}, true, 0},
      {{1970, 1, 4, 1, 0, 0, 0, 0}, true, 116444736000000000ull},
      {{2000, 2, 0, 29, 23, 59, 59, 999}, true, 125963423999990000ull},
      {{2001, 13, 0, 1, 0, 0, 0, 0}, false, 0},
      {{2001, 1, 0, 1, 24, 0, 0, 0}, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.time.wYear << "-" << c.time.wMonth << "-" << c.time.wDay
                                      << " " << c.time.wHour);
    FILETIME ft = {};
    EXPECT_EQ(platform::SystemTimeToFileTime(&c.time, &ft) != 0, c.valid);
    if (c.valid) {
      EXPECT_EQ(Ticks(ft), c.ticks);
    } else {
      EXPECT_EQ(platform::GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    }
  }
  SYSTEMTIME now;
  platform::GetSystemTime(&now);
  EXPECT_GE(now.wYear, 2024);
  FILETIME ft;
  EXPECT_TRUE(platform::SystemTimeToFileTime(&now, &ft));
}

TEST(FileTimeTest, SetFileTimeNeedsWriteAccess) {
  TempDir dir;
  dir.Write("a.txt", "a");
  dir.Write("b.txt", "b");
  const uint64_t day = 864000000000ull;
  const uint64_t base = 125963423999990000ull;
  for (auto [name, ticks] : {std::pair{"a.txt", base}, std::pair{"b.txt", base + day}}) {
    HANDLE h = Open(dir.Path(name), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);
    FILETIME t = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    EXPECT_TRUE(platform::SetFileTime(h, &t, &t, &t));
    EXPECT_TRUE(platform::CloseHandle(h));
  }
  auto apart = std::filesystem::last_write_time(dir.Path("b.txt")) -
               std::filesystem::last_write_time(dir.Path("a.txt"));
  EXPECT_EQ(std::chrono::duration_cast<std::chrono::seconds>(apart).count(), 86400);

  FILETIME t = {1, 0};
  EXPECT_FALSE(platform::SetFileTime(nullptr, &t, &t, &t));
  EXPECT_EQ(platform::GetLastError(), DWORD{ERROR_INVALID_HANDLE});
#ifndef _WIN32
  // Windows refuses a read-only handle too, but Wine, which runs the Windows tests, does not.
  HANDLE h = Open(dir.Path("a.txt"), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  EXPECT_FALSE(platform::SetFileTime(h, &t, &t, &t));
  EXPECT_EQ(platform::GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  EXPECT_TRUE(platform::CloseHandle(h));
#endif
}

}  // namespace
