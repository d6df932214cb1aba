#include <cstring>
#include <string>

#include "corvala/core.h"
#include "runtime/core/state.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::RuntimeTest;

class TempSlotsTest : public RuntimeTest {};

const TempSlot* Slot(int k) { return &SharedStringTable()[10 + k]; }

TEST_F(TempSlotsTest, AdvancesThroughRecordsOneToFifteen) {
  for (int step = 1; step <= 16; ++step) {
    EXPECT_EQ(SelectTempSlot(kSlotAdvance), Slot(step > 15 ? 1 : step)) << step;
  }
}

TEST_F(TempSlotsTest, StepRules) {
  struct Case {
    int32_t index;
    Word request;
    int32_t expected;
  } cases[] = {
      {0, kSlotBack, 15},   {1, kSlotBack, 15},   {7, kSlotBack, 6}, {15, kSlotAdvance, 1},
      {0, kSlotAdvance, 1}, {7, kSlotCurrent, 7}, {7, 12345, 8},  // any other value advances
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    SCOPED_TRACE(c.request);
    internal::RingIndex() = c.index;
    EXPECT_EQ(SelectTempSlot(c.request), Slot(c.expected));
    EXPECT_EQ(TempSlotIndex(), c.expected);
  }
}

// The text-pointer test comes first: a current text at the address -1 is not a step back.
TEST_F(TempSlotsTest, TheCurrentTextPointerSelectsTheCurrentRecord) {
  internal::RingIndex() = 4;
  SelectTempSlot(kSlotCurrent)->text = reinterpret_cast<const char*>(kSlotBack);
  EXPECT_EQ(SelectTempSlot(kSlotBack), Slot(4));
  SelectTempSlot(kSlotCurrent)->text = "result";
  EXPECT_EQ(SelectTempSlot(reinterpret_cast<Word>(Slot(4)->text)), Slot(4));
  EXPECT_EQ(TempSlotIndex(), 4);
}

char* Commit(size_t length) {
  char* at = ScratchWritePosition();
  std::memset(at, 'a', length);
  at[length] = '\0';
  return CommitScratchText(at + length, kSlotAdvance).text;
}

// The next text starts at the first multiple of 4 above the terminator; the ring wraps at
// byte 480,000 while the text just committed keeps its place.
TEST_F(TempSlotsTest, CommitMovesToTheNextAlignedPositionAndWraps) {
  char* base = ScratchWritePosition();
  ASSERT_EQ(reinterpret_cast<uintptr_t>(base) % 16, 0u);
  struct Case {
    size_t start;
    size_t length;
    size_t next;
  } cases[] = {
      {0, 3, 4},           {0, 4, 8},      {0, 0, 4},          {8, 2, 12},
      {479990, 5, 479996}, {479990, 6, 0}, {479996, 20000, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start);
    SCOPED_TRACE(c.length);
    internal::g_state.core.scratchWrite = base + c.start;
    char* text = Commit(c.length);
    EXPECT_EQ(text, base + c.start);
    EXPECT_EQ(SelectTempSlot(kSlotCurrent)->text, text);
    EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, static_cast<int32_t>(c.length));
    EXPECT_EQ(ScratchWritePosition(), base + c.next);
  }
}

TEST_F(TempSlotsTest, KeptCopiesLiveUntilSevenMoreAreMade) {
  TempSlot* slot = SelectTempSlot(kSlotAdvance);
  slot->text = "hello world";
  slot->length = -5;  // read as 5 bytes
  char* first = KeepTempSlotCopy();
  EXPECT_STREQ(first, "hello");
  EXPECT_EQ(TempSlotIndex(), 1);
  EXPECT_EQ(SelectTempSlot(kSlotCurrent), slot);

  slot->length = 11;
  for (int copy = 2; copy <= 7; ++copy) EXPECT_STREQ(KeepTempSlotCopy(), "hello world");
  EXPECT_EQ(ReleaseCount, 0);

  char* eighth = KeepTempSlotCopy();
  EXPECT_EQ(ReleaseCount, 1);
  for (int i = 0; i < kCvHeapStrings; ++i) {
    EXPECT_NE(TrackedBlockTable()[i], reinterpret_cast<Word>(first)) << i;
  }
  EXPECT_STREQ(eighth, "hello world");
  ReleaseTrackedBlock(kReleaseAllTracked);
}

// The copy about to be dropped may be the text being copied: it is read before it goes.
TEST_F(TempSlotsTest, CopyingTheOldestCopyReadsItBeforeReleasingIt) {
  TempSlot* slot = SelectTempSlot(kSlotAdvance);
  slot->text = "oldest";
  slot->length = 6;
  char* first = KeepTempSlotCopy();
  for (int copy = 2; copy <= 7; ++copy) KeepTempSlotCopy();
  slot->text = first;
  EXPECT_STREQ(KeepTempSlotCopy(), "oldest");
  ReleaseTrackedBlock(kReleaseAllTracked);
}

}  // namespace
}  // namespace corvala
