#include <gtest/gtest.h>

#include <cstring>

#include "corvala/corvala.h"
#include "corvala/corvala_c.h"
#include "platform/errors.h"
#include "platform/hooks.h"
#include "tests/support/runtime_test.h"
#include "tests/support/temp_dir.h"

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

TEST_F(CInterfaceCoreTest, StartupAndTablesAreTheRuntimesOwn) {
  cv_RuntimeStartup();
  EXPECT_EQ(cv_BitCountTable()[0xFF], 8);
  EXPECT_EQ(cv_BitCountTable()[0x51], 3);
  EXPECT_STREQ(cv_ModuleFolder(), ModuleFolder());
  const cv_CommonDataBlockView data = cv_CommonData();
  EXPECT_EQ(data.entries, CommonData().entries);
  EXPECT_STREQ(data.dateFormat, CommonData().dateFormat);
}

TEST_F(CInterfaceCoreTest, SlotsMoveAsInCpp) {
  cv_TextRecord* first = cv_SelectTempSlot(CV_SLOT_ADVANCE);
  EXPECT_EQ(cv_SelectTempSlot(CV_SLOT_CURRENT), first);
  EXPECT_NE(cv_SelectTempSlot(CV_SLOT_ADVANCE), first);
  EXPECT_EQ(cv_SelectTempSlot(CV_SLOT_BACK), first);
  TrimText("kept", 0);
  char* copy = cv_KeepTempSlotCopy();
  EXPECT_STREQ(copy, "kept");
  EXPECT_NE(copy, SelectTempSlot(kSlotCurrent)->text);
  ReleaseTrackedBlock(kReleaseAllTracked);  // the copy is a tracked block
}

TEST_F(CInterfaceCoreTest, CountedAndTrackedBlocks) {
  const int32_t allocations = AllocationCount, releases = ReleaseCount;
  auto* zeroed = static_cast<unsigned char*>(cv_CountedAlloc(16, CV_HEAP_ZERO_MEMORY));
  EXPECT_EQ(zeroed[15], 0);
  cv_CountedFree(zeroed);
  void* tracked = cv_AllocTracked(8, 0);
  void* entered = cv_TrackBlock(cv_CountedAlloc(8, 0));
  EXPECT_EQ(cv_TrackedBlockTable()[0], reinterpret_cast<cv_word>(tracked));
  EXPECT_EQ(cv_TrackedBlockTable()[1], reinterpret_cast<cv_word>(entered));
  cv_ReleaseTrackedBlock(reinterpret_cast<cv_word>(tracked));
  EXPECT_EQ(cv_TrackedBlockTable()[0], 0u);
  cv_ReleaseTrackedBlock(CV_RELEASE_ALL_TRACKED);
  EXPECT_EQ(cv_TrackedBlockTable()[1], 0u);
  EXPECT_EQ(AllocationCount - allocations, 3);
  EXPECT_EQ(ReleaseCount - releases, 3);
}

TEST_F(CInterfaceCoreTest, ErasesArraysAndClosesFiles) {
  DimArray(3, 2, 0);
  cv_EraseArray(3);
  EXPECT_EQ(ArrayTable()[3], kErased);
  testing::TempDir dir;
  OpenOutput(2, dir.Path("out").c_str(), 'O');
  cv_CloseFile(2);
  EXPECT_EQ(FileTable()[2], 0u);
}

TEST_F(CInterfaceCoreTest, ApiFailureShowsTheLastError) {
  platform::SetLastError(2);
  cv_ReportApiFailure(0);
  ASSERT_EQ(platform::hooks::ShownBoxes().size(), 1u);
  EXPECT_STREQ(platform::hooks::ShownBoxes()[0].caption, "GetLastError:\r\n#");
}

TEST_F(CInterfaceCoreTest, FatalErrorsEndTheProcessAsInCpp) {
  EXPECT_EXIT(cv_FatalError(CV_ERROR_RECALL_OPEN, reinterpret_cast<cv_word>("data.txt")),
              testing::ExitsWith(-5), "data.txt");
  EXPECT_EXIT(cv_FatalErrorValue(CV_ERROR_HEAP_SIZE, -42), testing::ExitsWith(-10), "-42");
  EXPECT_EXIT(
      {
        *cv_ReportValue() = 77;
        cv_FatalErrorLine(CV_ERROR_COUNT_TOO_HIGH);
      },
      testing::ExitsWith(-6), "Line 77");
  EXPECT_EXIT(
      {
        platform::SetLastError(2);
        cv_FatalLastError();
      },
      testing::ExitsWith(0), testing::SystemErrorText(2));
}

}  // namespace
}  // namespace corvala
