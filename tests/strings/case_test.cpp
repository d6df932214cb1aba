#include <gtest/gtest.h>

#include <string>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

class ConvertCaseTest : public testing::RuntimeTest {
 protected:
  void TearDown() override {
    ReleaseTrackedBlock(kReleaseAllTracked);
    testing::RuntimeTest::TearDown();
  }
};

TEST_F(ConvertCaseTest, MapsTheWesternCodePage) {
  struct Case {
    const char* source;
    const char* upper;
    const char* lower;
  };
  const Case cases[] = {
      {"Hello, World 42", "HELLO, WORLD 42", "hello, world 42"},
      {"\xE9\xC9", "\xC9\xC9", "\xE9\xE9"},  // e and E with acute accent
      {"\xE0\xFE\xC0\xDE", "\xC0\xDE\xC0\xDE", "\xE0\xFE\xE0\xFE"},
      {"\x9A\x8A\x9C\x8C\x9E\x8E", "\x8A\x8A\x8C\x8C\x8E\x8E", "\x9A\x9A\x9C\x9C\x9E\x9E"},
      {"\xFF\x9F", "\x9F\x9F", "\xFF\xFF"},
      // Signs and letters without a partner in the code page stay.
      {"\xB5\xDF\xF7\xD7\x83@[`{", "\xB5\xDF\xF7\xD7\x83@[`{", "\xB5\xDF\xF7\xD7\x83@[`{"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(ConvertCase(c.source, 1), c.upper) << c.source;
    EXPECT_STREQ(ConvertCase(c.source, 0), c.lower) << c.source;
  }
}

TEST_F(ConvertCaseTest, CopiesIntoATrackedBlockAndAdvancesTheRing) {
  static const char kSource[] = "MiXeD";
  int32_t before = AllocationCount;
  int32_t index = TempSlotIndex();
  const char* text = ConvertCase(kSource, 0);
  EXPECT_EQ(TempSlotIndex(), index + 1);
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->text, text);
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, 5);
  EXPECT_STREQ(text, "mixed");
  EXPECT_STREQ(kSource, "MiXeD");
  EXPECT_EQ(AllocationCount, before + 1);
  // The block is tracked: releasing it through the table frees it.
  int32_t released = ReleaseCount;
  ReleaseTrackedBlock(reinterpret_cast<Word>(text));
  EXPECT_EQ(ReleaseCount, released + 1);
}

TEST_F(ConvertCaseTest, NullSourceIsAnEmptyTrackedText) {
  const char* text = ConvertCase(nullptr, 1);
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, 0);
  EXPECT_EQ(text[0], '\0');
  EXPECT_NE(text, EmptyText);
}

TEST_F(ConvertCaseTest, TheHundredAndFirstUnreleasedResultIsFatal) {
  for (int i = 0; i < kCvHeapStrings; ++i) ConvertCase("a", 1);
  EXPECT_EXIT(ConvertCase("a", 1), testing::ExitsWith(-8),
              "Too many strings: increase CvHeapStrings");
}

}  // namespace
}  // namespace corvala
