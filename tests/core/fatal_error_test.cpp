#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "corvala/core.h"
#include "platform/errors.h"
#include "platform/hooks.h"
#include "platform/types.h"
#include "tests/support/runtime_test.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace corvala {
namespace {

using testing::ExitsWith;
using testing::RuntimeTest;
using testing::ShownBoxPattern;

class FatalErrorTest : public RuntimeTest {};

// A zero-free text that ends exactly where an unreadable page begins.
const char* TextRunningIntoUnreadablePage(size_t readable) {
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
  std::memset(base + page - readable, 'u', readable);
  return base + page - readable;
}

TEST_F(FatalErrorTest, ComposesTheMessageAndExitsWithTheNegatedCode) {
  const std::string longDetail = std::string(127, 'x') + std::string(73, 'y');
  struct Case {
    const char* what;
    std::function<void()> raise;
    std::string message;
    int exitCode;
  } cases[] = {
      {"file name", [] { FatalError(kErrorRecallOpen, reinterpret_cast<Word>("data.txt")); },
       "Could not open\ndata.txt\nfor Recall, FileRead$ etc.", -5},
      {"only the first mark is replaced",
       [] {
         ReportValue = 0;
         FatalErrorLine(kErrorCountTooHigh);
       },
       "Line 0: Count too high\nor wrong # of dimensions", -6},
      {"detail cut to 127 characters",
       [&] { FatalError(kErrorStoreOpen, reinterpret_cast<Word>(longDetail.c_str())); },
       "Could not open\n" + std::string(127, 'x') + "\nfor Store", -4},
      {"empty detail", [] { FatalError(kErrorStoreOpen, reinterpret_cast<Word>("")); },
       "Could not open\n\nfor Store", -4},
      {"code above 10", [] { FatalError(13, reinterpret_cast<Word>("ignored")); },
       "GetLastError:\r\n13", 0},
      {"code above 10 read unsigned", [] { FatalError(0xFFFFFFFFu, 0); }, "GetLastError:\r\n-1", 0},
      {"message without a mark", [] { FatalError(kErrorTooManyStrings, 0); },
       "Too many strings: increase CvHeapStrings", -8},
      {"debug marker",
       [] {
         DebugMarker = 5;
         FatalError(kErrorHeapAlloc, 0);
       },
       "HeapAlloc Olly=5", -1},
      {"value", [] { FatalErrorValue(kErrorHeapSize, -42); }, "HeapSize failed for -42", -10},
      {"line number",
       [] {
         ReportValue = 1234;
         FatalErrorLine(kErrorArrayErased);
       },
       "Line 1234: Array erased or undefined", -7},
      {"the last error's system text",
       [] {
         platform::SetLastError(ERROR_FILE_NOT_FOUND);
         FatalLastError();
       },
       "GetLastError:\r\n" + testing::SystemErrorText(ERROR_FILE_NOT_FOUND), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EXIT(c.raise(), ExitsWith(c.exitCode), ShownBoxPattern("Fatal error:", c.message));
  }
}

TEST_F(FatalErrorTest, ADetailThatCannotBeReadShowsAMark) {
  if (!testing::AccessViolationsAreCaught()) GTEST_SKIP() << testing::kNoCaughtAccessViolations;
  EXPECT_EXIT(FatalError(kErrorHeapFree, 0x1000), ExitsWith(-2),
              ShownBoxPattern("Fatal error:", "HeapFree\n#"));
  EXPECT_EXIT(FatalError(kErrorStoreOpen, reinterpret_cast<Word>(TextRunningIntoUnreadablePage(5))),
              ExitsWith(-4), ShownBoxPattern("Fatal error:", "Could not open\n#\nfor Store"));
}

TEST_F(FatalErrorTest, ReadsADetailUpToAnUnreadablePageWhenItEndsInTime) {
  // 127 readable characters are all the message takes, so the page after them is never read.
  EXPECT_EXIT(
      FatalError(kErrorStoreOpen, reinterpret_cast<Word>(TextRunningIntoUnreadablePage(127))),
      ExitsWith(-4),
      ShownBoxPattern("Fatal error:", "Could not open\n" + std::string(127, 'u') + "\nfor Store"));
}

TEST_F(FatalErrorTest, CodeAboveTenIsLeftInReportValue) {
  platform::hooks::SetExitHook(
      [](unsigned) { std::fprintf(stderr, "ReportValue=%d\n", static_cast<int>(ReportValue)); });
  EXPECT_EXIT(FatalError(13, 0), ExitsWith(0), "ReportValue=13");
}

void PrintWhatIsLeft(unsigned) {
  int tracked = 0;
  for (int i = 0; i < kCvHeapStrings; ++i) tracked += TrackedBlockTable()[i] != 0;
  std::fprintf(stderr, "allocated %d released %d tracked %d array3 %d file10 %d file5 %d\n",
               static_cast<int>(AllocationCount), static_cast<int>(ReleaseCount), tracked,
               static_cast<int>(ArrayTable()[3]), static_cast<int>(FileTable()[10]),
               static_cast<int>(FileTable()[5]));
}

void RaiseWithEverythingHeld() {
  // Array 3: two owned texts and one that is not owned.
  auto* array = static_cast<ArrayDescriptor*>(
      CountedAlloc(sizeof(ArrayDescriptor) + 3 * sizeof(ElementRecord), kHeapZeroMemory));
  array->count = 3;
  array->elements()[0] = {static_cast<char*>(CountedAlloc(4, 0)), 3};
  array->elements()[1] = {EmptyText, 0};
  array->elements()[2] = {static_cast<char*>(CountedAlloc(4, 0)), 3};
  ArrayTable()[3] = reinterpret_cast<Word>(array);
  AllocTracked(10, 0);
  AllocTracked(20, 0);
  FileTable()[10] = static_cast<Word>(-1);
  FileTable()[5] = static_cast<Word>(-1);
  platform::hooks::SetExitHook(PrintWhatIsLeft);
  // The first release fails: its box comes after the fatal box, and No goes on.
  platform::hooks::FailHeapFree(1);
  platform::hooks::QueueMessageBoxAnswer(IDOK);
  platform::hooks::QueueMessageBoxAnswer(IDNO);
  FatalError(kErrorRecallOpen, reinterpret_cast<Word>("x.txt"));
}

// Everything the process owns goes back after the box, before the exit: arrays and tracked
// blocks; file number 10 is closed (before the box) and the other files are left open.
TEST_F(FatalErrorTest, ReleasesEverythingAfterTheBox) {
  EXPECT_EXIT(RaiseWithEverythingHeld(), ExitsWith(-5),
              ShownBoxPattern("Fatal error:", "Could not open\nx.txt\nfor Recall, FileRead$ etc.") +
                  "HeapFree error\\. INT3\\?\n.+\n" +
                  "allocated 5 released 5 tracked 0 array3 -1 file10 0 file5 -1\n");
}

}  // namespace
}  // namespace corvala
