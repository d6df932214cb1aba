#include "platform/errors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/runtime_test.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

std::string SystemText(DWORD code, DWORD size = 444) {
  char buffer[1024] = {};
  DWORD length =
      platform::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                               code, 0, buffer, size, nullptr);
  EXPECT_EQ(length, std::strlen(buffer));
  return buffer;
}

// On Windows the texts are the system's own; the POSIX backend keeps Windows' wording.
#ifndef _WIN32
TEST(FormatMessageATest, SystemTextsOfTheCodesTheRuntimeMeets) {
  struct Case {
    DWORD code;
    const char* text;
  } cases[] = {
      {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
      {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified.\r\n"},
      {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
      {ERROR_INVALID_HANDLE, "The handle is invalid.\r\n"},
      {ERROR_SHARING_VIOLATION,
       "The process cannot access the file because it is being used by another process.\r\n"},
      {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"},
      {ERROR_DISK_FULL, "There is not enough space on the disk.\r\n"},
      {ERROR_RESOURCE_DATA_NOT_FOUND,
       "The specified image file did not contain a resource section.\r\n"},
      {ERROR_RESOURCE_NAME_NOT_FOUND,
       "The specified resource name cannot be found in the image file.\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(SystemText(c.code), c.text) << c.code;
}
#endif

TEST(FormatMessageATest, ABufferTooSmallGetsNothing) {
  EXPECT_EQ(SystemText(ERROR_ACCESS_DENIED, 10), "");
  EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

// Two pages, the second unreadable; the result points `before` bytes ahead of the boundary.
char* BeforeUnreadablePage(size_t before) {
#ifdef _WIN32
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  size_t page = info.dwPageSize;
  char* base = static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_COMMIT, PAGE_READWRITE));
  DWORD old;
  VirtualProtect(base + page, page, PAGE_NOACCESS, &old);
#else
  size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  char* base = static_cast<char*>(
      mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  mprotect(base + page, page, PROT_NONE);
#endif
  std::memset(base, 'u', page);
  return base + page - before;
}

TEST(IsBadStringPtrATest, ProbesUpToTheTerminatorOrTheLimit) {
  if (!corvala::testing::AccessViolationsAreCaught()) {
    GTEST_SKIP() << corvala::testing::kNoCaughtAccessViolations;
  }
  char* text = BeforeUnreadablePage(10);  // ten readable bytes, no terminator among them
  EXPECT_FALSE(platform::IsBadStringPtrA("fine", 127));
  EXPECT_TRUE(platform::IsBadStringPtrA(nullptr, 127));
  EXPECT_TRUE(platform::IsBadStringPtrA(reinterpret_cast<LPCSTR>(0x1000), 127));
  EXPECT_TRUE(platform::IsBadStringPtrA(text, 127));
  EXPECT_TRUE(platform::IsBadStringPtrA(text, 11));
  EXPECT_FALSE(platform::IsBadStringPtrA(text, 10));
  text[9] = '\0';
  EXPECT_FALSE(platform::IsBadStringPtrA(text, 127));
  // A text that starts long before the boundary is read across page-sized steps.
  EXPECT_TRUE(platform::IsBadStringPtrA(BeforeUnreadablePage(3000), 5000));
}

}  // namespace
