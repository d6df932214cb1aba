
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "corvala/core.h"
#include "platform/hooks.h"
#include "platform/types.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::ExitsWith;
using testing::RuntimeTest;
using testing::ShownBoxPattern;

class HeapTest : public RuntimeTest {};

TEST_F(HeapTest, CountsEveryAllocationAndRelease) {
  auto* zeroed = static_cast<unsigned char*>(CountedAlloc(4096, kHeapZeroMemory));
  for (int i = 0; i < 4096; ++i) ASSERT_EQ(zeroed[i], 0) << i;
  void* empty = CountedAlloc(0, 0);
  EXPECT_NE(empty, nullptr);
  EXPECT_EQ(AllocationCount, 2);
  CountedFree(zeroed);
  CountedFree(empty);
  EXPECT_EQ(ReleaseCount, 2);
}

TEST_F(HeapTest, IgnoresNullAndTheEmptyText) {
  CountedFree(nullptr);
  CountedFree(const_cast<char*>(EmptyText));
  EXPECT_EQ(ReleaseCount, 0);
  EXPECT_EQ(EmptyText[0], '\0');
  uint32_t wordBefore;
  std::memcpy(&wordBefore, EmptyText - 4, 4);
  EXPECT_EQ(wordBefore, 0u);
}

TEST_F(HeapTest, FailedAllocationIsFatalAndCounted) {
  EXPECT_EXIT(
      {
        platform::hooks::SetExitHook([](unsigned) {
          std::fprintf(stderr, "allocations %d\n", static_cast<int>(AllocationCount));
        });
        platform::hooks::FailHeapAllocation(2);
        CountedAlloc(8, 0);
        CountedAlloc(8, 0);
      },
      ExitsWith(-1), ShownBoxPattern("Fatal error:", "HeapAlloc") + "allocations 2\n");
}

// A release the heap refuses asks the user; No and Yes go on (no debugger is attached, so
// Yes must not stop the process), Cancel ends the run.
TEST_F(HeapTest, FailedReleaseAsksWhetherToGoOn) {
  for (int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer);
    platform::hooks::ClearShownBoxes();
    void* block = CountedAlloc(16, 0);
    int32_t released = ReleaseCount;
    platform::hooks::FailHeapFree(1);
    platform::hooks::QueueMessageBoxAnswer(answer);
    CountedFree(block);
    EXPECT_EQ(ReleaseCount, released + 1);
    ASSERT_EQ(platform::hooks::ShownBoxes().size(), 1u);
    EXPECT_STREQ(platform::hooks::ShownBoxes()[0].caption, "HeapFree error. INT3?");
    EXPECT_EQ(platform::hooks::ShownBoxes()[0].text,
              std::to_string(static_cast<intptr_t>(reinterpret_cast<uintptr_t>(block))));
    EXPECT_EQ(platform::hooks::ShownBoxes()[0].type, MB_YESNOCANCEL);
    CountedFree(block);  // the refused block is still allocated
  }
}

TEST_F(HeapTest, CancelOnAFailedReleaseIsFatalWithTheBlockAsText) {
  EXPECT_EXIT(
      {
        char* block = static_cast<char*>(CountedAlloc(16, 0));
        std::memcpy(block, "blocktext", 10);
        platform::hooks::FailHeapFree(1);
        platform::hooks::QueueMessageBoxAnswer(IDCANCEL);
        CountedFree(block);
      },
      ExitsWith(-2),
      "HeapFree error\\. INT3\\?\n.+\n" + ShownBoxPattern("Fatal error:", "HeapFree\nblocktext"));
}

}  // namespace
}  // namespace corvala
