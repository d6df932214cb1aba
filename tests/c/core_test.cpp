#include <gtest/gtest.h>

#include <cstring>

#include "corvala/corvala.h"
#include "corvala/corvala_c.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using CInterfaceCoreTest = testing::RuntimeTest;

TEST_F(CInterfaceCoreTest, ResultVariablesAreTheRuntimesOwn) {
  const struct {
    const char* name;
    const void* c;
    const void* cpp;
  } cases[] = {
      {"AllocationCount", cv_AllocationCount(), &AllocationCount},
      {"ReleaseCount", cv_ReleaseCount(), &ReleaseCount},
      {"ReportValue", cv_ReportValue(), &ReportValue},
      {"DebugMarker", cv_DebugMarker(), &DebugMarker},
      {"ApiBoxesOff", cv_ApiBoxesOff(), &ApiBoxesOff},
      {"LastFoundPosition", cv_LastFoundPosition(), &LastFoundPosition},
      {"LastElementAccess", cv_LastElementAccess(), &LastElementAccess},
      {"LastFieldAccess", cv_LastFieldAccess(), &LastFieldAccess},
      {"BareLineFeedCount", cv_BareLineFeedCount(), &BareLineFeedCount},
      {"OutputWindow", cv_OutputWindow(), &OutputWindow},
      {"WriteByteCount", cv_WriteByteCount(), &WriteByteCount},
      {"FindData", cv_FindData(), &FindData},
      {"FindHandle", cv_FindHandle(), &FindHandle},
      {"ArrayTable", cv_ArrayTable(), ArrayTable()},
      {"FileTable", cv_FileTable(), FileTable()},
      {"EmptyText", cv_EmptyText(), EmptyText},
      {"SlotOrigin 3", cv_SlotOrigin(3), &SlotOrigin(3)},
  };
  for (const auto& c : cases) EXPECT_EQ(c.c, c.cpp) << c.name;
}

TEST_F(CInterfaceCoreTest, VersionIsTheCppOne) {
  const cv_VersionInfo c = cv_Version();
  const VersionInfo cpp = Version();
  EXPECT_STREQ(c.text, "0.2.0");
  EXPECT_EQ(c.text, cpp.text);
  EXPECT_EQ(c.number, 200u);  // 0 * 10000 + 2 * 100 + 0
  EXPECT_EQ(c.number, cpp.number);
}

TEST_F(CInterfaceCoreTest, CommittedTextComesBackAsItsRecord) {
  char* text = cv_ScratchWritePosition();
  std::strcpy(text, "abc");
  const cv_CommittedText committed = cv_CommitScratchText(text + 3, CV_SLOT_ADVANCE);
  EXPECT_EQ(committed.text, text);
  EXPECT_EQ(committed.slot, reinterpret_cast<cv_TextRecord*>(SelectTempSlot(kSlotCurrent)));
  EXPECT_EQ(committed.slot->text, text);
  EXPECT_EQ(committed.slot->length, 3);
  EXPECT_EQ(cv_TempSlotIndex(), TempSlotIndex());
  EXPECT_STREQ(cv_SharedStringTable()[1].text, "\r\n");
}

}  // namespace
}  // namespace corvala
