#include <cstring>
#include <functional>

#include "corvala/core.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/types.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::ExitsWith;
using testing::RuntimeTest;
using testing::ShownBoxPattern;

class TablesTest : public RuntimeTest {};

ArrayDescriptor* NewArray(int32_t count) {
  auto* array = static_cast<ArrayDescriptor*>(
      CountedAlloc(sizeof(ArrayDescriptor) + count * sizeof(ElementRecord), kHeapZeroMemory));
  array->count = count;
  return array;
}

char* OwnedText(const char* text) {
  char* block = static_cast<char*>(CountedAlloc(static_cast<uint32_t>(std::strlen(text) + 1), 0));
  std::strcpy(block, text);
  return block;
}

#ifdef _WIN32
constexpr const char* kNullDevice = "NUL";
#else
constexpr const char* kNullDevice = "/dev/null";
#endif

Word OpenHandle() {
  HANDLE handle = platform::CreateFileA(kNullDevice, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(handle, INVALID_HANDLE_VALUE);
  return reinterpret_cast<Word>(handle);
}

// True when the handle was still open; closes it then (closing a closed handle fails).
bool IsOpen(Word handle) { return platform::CloseHandle(reinterpret_cast<HANDLE>(handle)); }

// Texts in one backing block that starts 9 bytes below its stored address (bit 0 set), and
// elements that own none of them: the backing block and the descriptor are all there is.
TEST_F(TablesTest, ErasingALoadedArrayReleasesBackingBlockAndDescriptor) {
  char* allocation = static_cast<char*>(CountedAlloc(64, kHeapZeroMemory));
  char* texts = allocation + 8 + 1;
  std::memcpy(texts, "one\0two", 8);
  ArrayDescriptor* array = NewArray(2);
  array->backing = reinterpret_cast<Word>(texts);
  ASSERT_EQ(array->backing & 1, 1u);
  array->elements()[0] = {texts, -3};
  array->elements()[1] = {texts + 4, -3};
  ArrayTable()[4] = reinterpret_cast<Word>(array);

  EraseArray(4);
  EXPECT_EQ(ReleaseCount, 2);
  EXPECT_EQ(ArrayTable()[4], kErased);
}

TEST_F(TablesTest, ErasingReleasesOwnedTextsOnly) {
  char* backing = static_cast<char*>(CountedAlloc(16, kHeapZeroMemory));  // bit 0 clear
  ArrayDescriptor* array = NewArray(4);
  array->backing = reinterpret_cast<Word>(backing);
  array->elements()[0] = {OwnedText("mine"), 4};
  array->elements()[1] = {EmptyText, 0};
  array->elements()[2] = {nullptr, 0};  // never assigned
  array->elements()[3] = {backing, -2};
  ArrayTable()[0] = reinterpret_cast<Word>(array);
  ArrayTable()[19] = reinterpret_cast<Word>(NewArray(0));
  ArrayTable()[5] = kErased;

  EraseArray(kEraseAllArrays);
  EXPECT_EQ(ReleaseCount, 4);  // backing, "mine", two descriptors
  EXPECT_EQ(ArrayTable()[0], kErased);
  EXPECT_EQ(ArrayTable()[19], kErased);
  EXPECT_EQ(ArrayTable()[5], kErased);
  EXPECT_EQ(ArrayTable()[1], 0u) << "a number never used stays so";
  EraseArray(kEraseAllArrays);
  EraseArray(0);
  EXPECT_EQ(ReleaseCount, 4);
}

TEST_F(TablesTest, ErasingAllLeavesRecordArraysToTheTrackedBlocks) {
  // A record array: two words of count and size, then the records, in one tracked block.
  char* block = static_cast<char*>(AllocTracked(8 + 3 * 4, kHeapZeroMemory));
  ArrayTable()[2] = reinterpret_cast<Word>(block + 8);
  EraseArray(kEraseAllArrays);
  EXPECT_EQ(ReleaseCount, 0);
  ReleaseTrackedBlock(kReleaseAllTracked);
  EXPECT_EQ(ReleaseCount, 1);
}

TEST_F(TablesTest, ClosingAllFilesClosesEveryNumber) {
  for (int n = 0; n < kFileNumbers; ++n) EXPECT_EQ(FileTable()[n], 0u) << n;
  Word first = OpenHandle();
  Word last = OpenHandle();
  FileTable()[0] = first;
  FileTable()[10] = last;
  FileTable()[4] = static_cast<Word>(-1);  // a failed open
  CloseFile(kCloseAllFiles);
  for (int n = 0; n < kFileNumbers; ++n) EXPECT_EQ(FileTable()[n], 0u) << n;
  EXPECT_FALSE(IsOpen(first));
  EXPECT_FALSE(IsOpen(last));

  Word one = OpenHandle();
  FileTable()[7] = one;
  CloseFile(7);
  CloseFile(7);
  EXPECT_EQ(FileTable()[7], 0u);
  EXPECT_FALSE(IsOpen(one));
}

// Numbers outside the tables touch nothing and end the run with the caller's line.
TEST_F(TablesTest, NumbersOutsideTheTablesAreFatal) {
  std::function<void()> calls[] = {[] { EraseArray(20); }, [] { EraseArray(-2); },
                                   [] { CloseFile(12); }, [] { CloseFile(-1); }};
  for (const auto& call : calls) {
    EXPECT_EXIT(
        {
          ReportValue = 77;
          call();
        },
        ExitsWith(-6),
        ShownBoxPattern("Fatal error:", "Line 77: Count too high\nor wrong # of dimensions"));
  }
}

}  // namespace
}  // namespace corvala
