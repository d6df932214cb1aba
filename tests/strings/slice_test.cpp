#include <gtest/gtest.h>

#include <string>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using SliceTextTest = testing::RuntimeTest;

// The result as the current slot holds it.
std::string Result() {
  const TempSlot* slot = SelectTempSlot(kSlotCurrent);
  return std::string(slot->text, slot->length);
}

TEST_F(SliceTextTest, ViewsIntoHello) {
  static const char kHello[] = "Hello";
  struct Case {
    int32_t start, count;
    const char* expected;
    int32_t offset;  // where the view starts in the source
  };
  const Case cases[] = {
      {2, 3, "ell", 1},    {1, 2, "He", 0},  {4, -1, "lo", 3},     {5, 10, "o", 4},
      {-1, 2, "lo", 3},    {-7, 2, "lo", 3}, {-1, 10, "Hello", 0}, {-1, -3, "Hello", 0},
      {6, 2, "", 0},       {0, 3, "", 0},    {2, 0, "", 0},        {1, 5, "Hello", 0},
      {-1, 5, "Hello", 0}, {-1, 0, "", 0},   {5, 1, "o", 4},       {INT32_MIN, 1, "o", 4},
  };
  for (const Case& c : cases) {
    const char* text = SliceText(kHello, c.count, c.start);
    EXPECT_EQ(Result(), c.expected) << "start " << c.start << " count " << c.count;
    EXPECT_EQ(text, kHello + c.offset) << "start " << c.start << " count " << c.count;
    EXPECT_EQ(SelectTempSlot(kSlotCurrent)->text, text);
  }
}

TEST_F(SliceTextTest, CurrentSlotIsReplacedInPlace) {
  static const char kHello[] = "Hello";
  SliceText(kHello, 5, 1);
  int32_t index = TempSlotIndex();
  // A slice of 127 reads the current slot and leaves the ring where it was.
  SliceText(kCurrentSlot, 2, 2);
  EXPECT_EQ(TempSlotIndex(), index);
  EXPECT_EQ(Result(), "el");
}

TEST_F(SliceTextTest, RingMovesUnlessTheViewStartsAtTheCurrentText) {
  static const char kHello[] = "Hello";
  SliceText(kHello, 5, 1);
  int32_t index = TempSlotIndex();
  // Starts where the current slot's text starts: that slot is replaced.
  SliceText(kHello, 2, 1);
  EXPECT_EQ(TempSlotIndex(), index);
  // Starts elsewhere: the ring advances.
  SliceText(kHello, 2, 3);
  EXPECT_EQ(TempSlotIndex(), index + 1);
}

TEST_F(SliceTextTest, SharedStringIdsAndSlotRecords) {
  // Id 5 is four spaces; it starts the runtime on first use.
  const char* spaces = SliceText(5, 2, -1);
  EXPECT_EQ(Result(), "  ");
  EXPECT_EQ(spaces, SharedStringTable()[5].text + 2);
  // Id 10 + k is slot k; a negative slot length is read by its magnitude.
  static const char kWord[] = "abcdef";
  TempSlot* slot = SelectTempSlot(kSlotAdvance);
  *slot = {kWord, -6};
  int32_t id = 10 + TempSlotIndex();
  SliceText(id, 3, 4);
  EXPECT_EQ(Result(), "def");
  // Ids past the slot records are empty, not whatever lies beyond the table.
  SliceText(60, 3, 1);
  EXPECT_EQ(Result(), "");
}

}  // namespace
}  // namespace corvala
