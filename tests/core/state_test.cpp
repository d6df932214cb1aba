#include "runtime/core/state.h"

#include <cstring>

#include "corvala/core.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using internal::g_state;
using internal::ResetRuntimeState;

class StateTest : public testing::RuntimeTest {};

// After use, a reset gives back the state of program start: zero everywhere, and the common
// data block's defaults again on its next use.
TEST_F(StateTest, ResetGivesBackTheStartingState) {
  RuntimeStartup();
  ASSERT_EQ(CommonData().entries[5], 7u);
  g_state.core.commonData.entries[5] = 3;
  std::memcpy(g_state.core.commonData.dateFormat, "yyyy-MM-dd", 11);
  g_state.core.scratch[internal::kScratchSize - 1] = 'x';
  g_state.numbers.powersOfTen[0] = 1e155L;
  g_state.strings.lastFoundPosition = 5;
  g_state.files.compareBlocks[1][0] = 9;

  ResetRuntimeState();
  EXPECT_EQ(TempSlotIndex(), 0);
  EXPECT_EQ(SharedStringTable()[1].text, nullptr);
  EXPECT_EQ(g_state.core.scratch[internal::kScratchSize - 1], 0);
  EXPECT_EQ(g_state.numbers.powersOfTen[0], 0.0L);
  EXPECT_EQ(g_state.strings.lastFoundPosition, 0);
  EXPECT_EQ(g_state.files.compareBlocks[1][0], 0);
  CommonDataBlockView c = CommonData();
  EXPECT_EQ(c.entries[5], 7u);
  EXPECT_STREQ(c.dateFormat, "dd.MM.yyyy");
  EXPECT_EQ(reinterpret_cast<const char*>(c.entries[4]), ModuleFolder());
}

}  // namespace
}  // namespace corvala
