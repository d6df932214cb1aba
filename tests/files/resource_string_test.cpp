#include <string>

#include "corvala/core.h"
#include "corvala/files.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

class ResourceStringTest : public testing::RuntimeTest {};

TEST_F(ResourceStringTest, LoadsByteText) {
  struct Case {
    int32_t id;
    std::string text;
  } cases[] = {{1, "Hello, world"}, {2, "Tab\there and a \"quote\""}, {7, "seven"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const char* text = ResourceString(c.id);
    TempSlot* slot = SelectTempSlot(kSlotCurrent);
    EXPECT_EQ(slot->text, text);
    EXPECT_EQ(std::string(slot->text, slot->length), c.text);
    EXPECT_EQ(text[c.text.size()], '\0');
  }
  EXPECT_TRUE(platform::hooks::ShownBoxes().empty());
}

TEST_F(ResourceStringTest, NegativeIdLoadsUtf16WithItsLengthInBytes) {
  const char16_t* text = reinterpret_cast<const char16_t*>(ResourceString(-7));
  EXPECT_EQ(std::u16string(text), u"seven");
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, 10);
}

// Windows programs read their compiled resources; elsewhere a registered entry serves, and a
// later entry of an id replaces the earlier one.
TEST_F(ResourceStringTest, RegisteredStringsServeWhereProgramsCarryNoResources) {
  const StringResource first[] = {{900, "first"}, {901, "kept"}};
  const StringResource second[] = {{900, "second"}};
  RegisterStringTable(first, 2);
  RegisterStringTable(second, 1);
#ifdef _WIN32
  EXPECT_STREQ(ResourceString(900), "");
#else
  EXPECT_STREQ(ResourceString(900), "second");
  EXPECT_STREQ(ResourceString(901), "kept");
  EXPECT_TRUE(platform::hooks::ShownBoxes().empty());
#endif
}

TEST_F(ResourceStringTest, MissingStringReportsAndGivesTheEmptyText) {
  const char* text = ResourceString(4242);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, 0);
  ASSERT_EQ(platform::hooks::ShownBoxes().size(), 1u);
  EXPECT_STREQ(platform::hooks::ShownBoxes()[0].caption, "GetLastError:\r\n#");
}

}  // namespace
}  // namespace corvala
