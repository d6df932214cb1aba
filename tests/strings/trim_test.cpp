#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using TrimTextTest = testing::RuntimeTest;

constexpr uint32_t kBoth = TrimLeading | TrimTrailing;

TEST_F(TrimTextTest, BlanksAtEitherEnd) {
  struct Case {
    const char* source;
    uint32_t flags;
    const char* expected;
  };
  const Case cases[] = {
      {" a ", kBoth, "a"},
      {" \t\r\n ", kBoth, ""},
      {" \t\r\n ", TrimTrailing, ""},
      {"  ab c  ", TrimLeading, "ab c  "},
      {"  ab c  ", TrimTrailing, "  ab c"},
      {"  ab c  ", 0, "  ab c  "},
      {"x", 0, "x"},
      {"x", kBoth, "x"},
      {"", kBoth, ""},
      // Every byte from 128 up counts as blank, accented letters included.
      {"caf\xE9", TrimTrailing, "caf"},
      {"\xA0\xFFword\x80", kBoth, "word"},
      {"\x7F", kBoth, "\x7F"},
  };
  for (const Case& c : cases) {
    const char* text = TrimText(c.source, c.flags);
    EXPECT_STREQ(text, c.expected) << '"' << c.source << "\" flags " << c.flags;
    EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, static_cast<int32_t>(std::strlen(c.expected)));
  }
}

TEST_F(TrimTextTest, ResultIsANewScratchSlot) {
  static const char kSource[] = " a ";
  char* write = ScratchWritePosition();
  int32_t index = TempSlotIndex();
  EXPECT_EQ(TrimText(kSource, kBoth), write);
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->text, write);
  EXPECT_EQ(TempSlotIndex(), index + 1);
  EXPECT_STREQ(kSource, " a ");
  EXPECT_EQ(ScratchWritePosition(), write + 4);
}

TEST_F(TrimTextTest, UncommittedTextAtTheWritePositionIsTrimmedInPlace) {
  char* write = ScratchWritePosition();
  std::strcpy(write, "   left and right   ");
  EXPECT_EQ(TrimText(nullptr, kBoth), write);
  const TempSlot* slot = SelectTempSlot(kSlotCurrent);
  EXPECT_EQ(std::string(slot->text, slot->length), "left and right");
  EXPECT_EQ(write[14], '\0');
}

TEST_F(TrimTextTest, ResultPastTheScratchLimitIsFatal) {
  // A text nearly as long as the scratch area cannot be copied in after a first result.
  std::string huge(internal::kScratchLimit, 'z');
  TrimText("a", 0);
  EXPECT_EXIT(TrimText(huge.c_str(), 0), testing::ExitsWith(-9), "Insufficient buffer or New");
}

}  // namespace
}  // namespace corvala
