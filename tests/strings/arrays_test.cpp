#include <cstdint>
#include <string>
#include <vector>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "tests/strings/array_test_support.h"

namespace corvala {
namespace {

using testing::ArrayTest;
using testing::ExitsWith;
using Strings = std::vector<std::string>;

TEST(TwoIndexTest, PacksAndUnpacksBothIndices) {
  struct Case {
    uint32_t first, second, value;
  } cases[] = {
      {0, 0, 0x80000000u},
      {4, 2, 0x81000004u},
      {0x7FFFFF, 255, 0xFFFFFFFFu},
      {1, 1, 0x80800001u},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TwoIndex(c.first, c.second), c.value);
    EXPECT_TRUE(IsTwoIndex(c.value));
    EXPECT_EQ(FirstIndex(c.value), c.first);
    EXPECT_EQ(SecondIndex(c.value), c.second);
  }
  EXPECT_FALSE(IsTwoIndex(0x7FFFFFFFu));
}

TEST_F(ArrayTest, DimArrayGivesZeroedElementsAndTheShapeOfItsSize) {
  struct Case {
    int32_t n;
    int32_t count, shape;
  } cases[] = {
      {9, 10, 0},
      {-1, 0, 0},
      {0, 1, 0},
      {static_cast<int32_t>(TwoIndex(4, 2) - 1), 12, 4},  // R = 4, M = 3
      {static_cast<int32_t>(TwoIndex(7, 0) - 1), 7, 7},   // one column
      {static_cast<int32_t>(TwoIndex(0, 5) - 1), 0, 0},   // no rows
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    ArrayDescriptor* array = DimArray(5, c.n, 0);
    EXPECT_EQ(ArrayTable()[5], reinterpret_cast<Word>(array));
    EXPECT_EQ(array->count, c.count);
    EXPECT_EQ(array->shape, c.shape);
    EXPECT_EQ(array->backing, 0u);
    EXPECT_EQ(array->userValue, 0u);
    for (int32_t i = 0; i < array->count; ++i) {
      EXPECT_EQ(array->elements()[i].text, nullptr);
      EXPECT_EQ(array->elements()[i].length, 0);
    }
  }
}

TEST_F(ArrayTest, DimArrayKeepsTheUserValueAndReleasesTheOldArray) {
  ArrayDescriptor* old = DimArray(3, 1, 0);
  old->elements()[0] = OwnedText("owned");
  const int32_t releases = ReleaseCount;
  ArrayDescriptor* array = DimArray(3, 4, 77);
  EXPECT_EQ(ReleaseCount, releases + 2);  // the owned text and the old descriptor
  EXPECT_EQ(array->userValue, 77u);
  EXPECT_EQ(array->count, 5);
}

TEST_F(ArrayTest, SwapArraysExchangesEntriesWhateverTheyHold) {
  ArrayDescriptor* three = DimArray(3, 0, 0);
  SwapArrays(3, 3);
  EXPECT_EQ(ArrayTable()[3], reinterpret_cast<Word>(three));
  SwapArrays(3, 4);
  EXPECT_EQ(ArrayTable()[3], 0u);
  EXPECT_EQ(ArrayTable()[4], reinterpret_cast<Word>(three));
  EraseArray(4);
  SwapArrays(4, 6);
  EXPECT_EQ(ArrayTable()[4], 0u);
  EXPECT_EQ(ArrayTable()[6], kErased);
}

TEST_F(ArrayTest, InsertingThenRemovingAtTheLastAccessRestoresTheArray) {
  MakeArray(2, {"a", "b", "c", "d", "e"});
  ElementText(2, 2);
  InsertElements(1);
  EXPECT_EQ(Texts(2), (Strings{"a", "b", "", "c", "d", "e"}));
  auto* array = reinterpret_cast<ArrayDescriptor*>(ArrayTable()[2]);
  EXPECT_EQ(array->elements()[2].text, EmptyText);
  EXPECT_EQ(array->elements()[2].length, 0);
  EXPECT_EQ(array->elements()[3].length, -1);

  ElementText(2, 2);
  InsertElements(-1);
  EXPECT_EQ(Texts(2), (Strings{"a", "b", "c", "d", "e"}));

  ElementText(2, 1);
  InsertElements(3);
  EXPECT_EQ(Texts(2), (Strings{"a", "", "", "", "b", "c", "d", "e"}));
  ElementText(2, 1);
  InsertElements(-3);
  EXPECT_EQ(Texts(2), (Strings{"a", "b", "c", "d", "e"}));
}

TEST_F(ArrayTest, InsertElementsReleasesOnlyTheTextsItDrops) {
  ArrayDescriptor* array = MakeArray(2, {"a", nullptr, nullptr, nullptr, "e"});
  array->elements()[1] = OwnedText("b");
  array->elements()[2] = OwnedText("c");
  array->elements()[3] = OwnedText("d");

  int32_t releases = ReleaseCount;
  ElementText(2, 1);
  InsertElements(0);  // empties element 1, keeps the count
  EXPECT_EQ(ReleaseCount, releases + 1);
  EXPECT_EQ(Texts(2), (Strings{"a", "", "c", "d", "e"}));

  releases = ReleaseCount;
  ElementText(2, 2);
  InsertElements(-2);  // drops c and d
  EXPECT_EQ(ReleaseCount, releases + 2);
  EXPECT_EQ(Texts(2), (Strings{"a", "", "e"}));
}

TEST_F(ArrayTest, InsertElementsLeavesTheArrayWhenNothingWouldRemain) {
  ArrayDescriptor* array = MakeArray(2, {"a", "b", "c", "d", "e"});
  ElementText(2, 0);
  InsertElements(-5);
  EXPECT_EQ(ArrayTable()[2], reinterpret_cast<Word>(array));
  EXPECT_EQ(Texts(2), (Strings{"a", "b", "c", "d", "e"}));
}

TEST_F(ArrayTest, InsertElementsFollowsTheDescriptorToItsNewBlock) {
  MakeArray(2, {"a"});
  ElementText(2, 0);
  InsertElements(1000);
  auto* array = reinterpret_cast<ArrayDescriptor*>(ArrayTable()[2]);
  ASSERT_EQ(array->count, 1001);
  EXPECT_STREQ(array->elements()[1000].text, "a");
  EXPECT_EQ(array->elements()[999].text, EmptyText);
}

using ArrayDeathTest = ArrayTest;

TEST_F(ArrayDeathTest, InsertElementsNeedsALiveArrayAndAnIndexInsideIt) {
  // Never used: ErrorCode 6; erased: ErrorCode 7.
  EXPECT_EXIT(InsertElements(1), ExitsWith(-6), "Count too high");
  MakeArray(7, {"a"});
  ElementText(7, 0);
  EraseArray(7);
  EXPECT_EXIT(InsertElements(1), ExitsWith(-7), "Array erased or undefined");
  // A stale access beyond the array, and a removal running past its end.
  MakeArray(7, {"a", "b", "c"});
  ElementText(7, 2);
  DimArray(7, 0, 0);
  EXPECT_EXIT(InsertElements(1), ExitsWith(-6), "Count too high");
  MakeArray(7, {"a", "b", "c"});
  ElementText(7, 2);
  EXPECT_EXIT(InsertElements(-2), ExitsWith(-6), "Count too high");
  // The pseudo-element -1 is no place to insert at.
  ElementText(7, static_cast<uint32_t>(-1));
  EXPECT_EXIT(InsertElements(1), ExitsWith(-6), "Count too high");
}

TEST_F(ArrayDeathTest, ArrayNumbersOutsideTheTableAreRefused) {
  EXPECT_EXIT(DimArray(20, 1, 0), ExitsWith(-6), "Count too high");
  EXPECT_EXIT(SwapArrays(1, -1), ExitsWith(-6), "Count too high");
  EXPECT_EXIT(ElementText(-3, 0), ExitsWith(-6), "Count too high");
  EXPECT_EXIT(SortArray(-20, 0), ExitsWith(-6), "Count too high");
}

// The array stays whole when its descriptor cannot move: the fatal path then releases every
// owned text exactly once (a text released twice would end the run otherwise).
TEST_F(ArrayDeathTest, AFailedReallocationIsErrorCode1) {
  ArrayDescriptor* array = MakeArray(2, {"a", nullptr, nullptr, "d"});
  array->elements()[1] = OwnedText("b");
  array->elements()[2] = OwnedText("c");
  ElementText(2, 1);
  platform::hooks::FailHeapAllocation(1);
  EXPECT_EXIT(InsertElements(2), ExitsWith(-1), "Fatal error:\nHeapAlloc");
  EXPECT_EXIT(InsertElements(-1), ExitsWith(-1), "Fatal error:\nHeapAlloc");
  EXPECT_EXIT(InsertElements(0), ExitsWith(-1), "Fatal error:\nHeapAlloc");
  platform::hooks::FailHeapAllocation(0);
}

TEST_F(ArrayDeathTest, AnArrayTooBigForItsDescriptorIsAnAllocationFailure) {
  // A 64-bit build's descriptor of 2^31 - 1 records (32 GB) is a block like any other, which a
  // machine may have room for; on i686 it can never be 16 GB.
  if (sizeof(void*) == 4) {
    EXPECT_EXIT(DimArray(1, 0x7FFFFFFE, 0), ExitsWith(-1), "HeapAlloc");
    EXPECT_EXIT(DimArray(1, static_cast<int32_t>(TwoIndex(0x7FFFFF, 255) - 1), 0), ExitsWith(-1),
                "HeapAlloc");
  }
  // A count past 2^31 - 1 is not wrapped to a negative one that would change nothing.
  MakeArray(1, {"a", "b", "c", "d", "e"});
  ElementText(1, 2);
  EXPECT_EXIT(InsertElements(INT32_MAX - 2), ExitsWith(-1), "HeapAlloc");
  EXPECT_EXIT(InsertElements(INT32_MAX), ExitsWith(-1), "HeapAlloc");
}

}  // namespace
}  // namespace corvala
