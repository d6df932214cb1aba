#include <string>

#include "corvala/core.h"
#include "corvala/files.h"
#include "runtime/core/state.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

class CommandLineArgTest : public testing::RuntimeTest {
 protected:
  // The argument's text, or "<none>" when CommandLineArg found nothing (the slot then
  // must read "?").
  std::string Arg(const std::string& line, int32_t index) {
    platform::hooks::SetCommandLine(line.c_str());
    const char* text = CommandLineArg(index);
    TempSlot* slot = SelectTempSlot(kSlotCurrent);
    if (text == nullptr) {
      EXPECT_EQ(std::string(slot->text, slot->length), "?");
      return "<none>";
    }
    EXPECT_EQ(slot->text, text);
    EXPECT_EQ(std::string(text), std::string(slot->text, slot->length));
    return text;
  }
};

TEST_F(CommandLineArgTest, SplitsByTheRuntimesRules) {
  const std::string line = "prog.exe  one \"two words\" 'x y'z";
  struct Case {
    std::string line;
    int32_t index;
    std::string arg;
  } cases[] = {
      {line, 0, "prog.exe"},
      {line, 1, "one"},
      {line, 2, "two words"},
      {line, 3, "x y"},
      {line, 4, "z"},
      {line, 5, "<none>"},
      {"\"C:\\Program Files\\tool.exe\" a", 0, "C:\\Program Files\\tool.exe"},
      {"p \"\" after", 1, ""},
      {"p \"\" after", 2, "after"},
      {"p #abc# %d e%", 1, "abc"},
      {"p #abc# %d e%", 2, "d e"},
      {"p a b", 5, "<none>"},
      {"p \"open", 1, "<none>"},
      {"p a\tb c", 1, "a\tb"},
      {"p \ta b", 1, "<none>"},  // its delimiter is the tab before it, never met again
      {"p \ta b\tc", 1, "a b"},
      {"p \ta b\tc", 2, "c"},
      {"p   ", 1, "<none>"},
      {"", 0, "<none>"},
      {"p a", -1, "<none>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line + " #" + std::to_string(c.index));
    EXPECT_EQ(Arg(c.line, c.index), c.arg);
  }
}

TEST_F(CommandLineArgTest, EachCallMakesANewSlot) {
  platform::hooks::SetCommandLine("p a b");
  CommandLineArg(1);
  int32_t first = TempSlotIndex();
  CommandLineArg(9);
  EXPECT_NE(TempSlotIndex(), first);
}

TEST_F(CommandLineArgTest, CutsAnArgumentAtTheScratchLimit) {
  std::string huge(internal::kScratchSize + 1000, 'a');
  platform::hooks::SetCommandLine(("p " + huge).c_str());
  const char* text = CommandLineArg(1);
  ASSERT_NE(text, nullptr);
  const char* end = internal::g_state.core.scratch + internal::kScratchLimit;
  EXPECT_LE(text + SelectTempSlot(kSlotCurrent)->length, end);
}

}  // namespace
}  // namespace corvala
