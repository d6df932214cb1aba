#include <gtest/gtest.h>

#include <fstream>

#include "corvala/corvala.h"
#include "corvala/corvala_c.h"
#include "tests/support/runtime_test.h"
#include "tests/support/temp_dir.h"

namespace corvala {
namespace {

class CInterfaceStringsTest : public testing::RuntimeTest {
 protected:
  void TearDown() override {
    EraseArray(kEraseAllArrays);
    RuntimeTest::TearDown();
  }
};

TEST_F(CInterfaceStringsTest, RecallTakesAMarkerOrALineCount) {
  testing::TempDir dir;
  const std::string file = dir.Write("data.tsv", "a\tb\r\nc\td\r\n");
  const cv_RecallResult marked = cv_Recall(file.c_str(), 1, 0, CV_TAB_FIELDS, nullptr);
  EXPECT_EQ(marked.lines, 2);
  EXPECT_EQ(marked.bytes, 10);
  EXPECT_EQ(reinterpret_cast<cv_ArrayDescriptor*>(ArrayTable()[1])->shape, CV_TAB_FIELDS);
  const cv_TextRecord field = cv_ElementText(1, CV_TWO_INDEX(1, 1));
  EXPECT_STREQ(field.text, "d");
  EXPECT_EQ(field.length, 1);

  int32_t lines = 0;
  cv_Recall(file.c_str(), 2, 0, CV_TAB_FIELDS, &lines);
  EXPECT_EQ(lines, 2);
  EXPECT_EQ(reinterpret_cast<cv_ArrayDescriptor*>(ArrayTable()[2])->shape, 0);
}

TEST_F(CInterfaceStringsTest, TwoResultsComeBackInTheirRecords) {
  const char* text = "one two";
  const cv_FoundText found = cv_FindText(-1, text, "TWO", CV_FIND_IGNORE_CASE);
  EXPECT_EQ(found.address, text + 4);
  EXPECT_EQ(found.position, 5);
  const cv_TextComparison comparison = cv_CompareTexts("abc", "abd", 0);
  EXPECT_EQ(comparison.difference, -1);
  EXPECT_EQ(comparison.offset, 2u);
}

TEST_F(CInterfaceStringsTest, DeferredTextIsAFlag) {
  EXPECT_EQ(cv_IsDeferredText(cv_NewStr(3)), 1);
  EXPECT_EQ(cv_IsDeferredText(cv_TrimText("plain", 0)), 0);
  EXPECT_STREQ(cv_SliceText("abcdef", 2, 3), SliceText("abcdef", 2, 3));
}

TEST_F(CInterfaceStringsTest, PrimitivesAsInCpp) {
  const uint16_t wide[] = {'a', 'b', 'c', 0};
  EXPECT_EQ(cv_TextLength("four"), 4u);
  EXPECT_EQ(cv_WideTextLength(wide), 3u);
  char copy[8] = {};
  EXPECT_EQ(cv_CopyBytes(copy, "abc", -1), copy + 4);
  EXPECT_STREQ(copy, "abc");
  FindText(-1, "abcabc", "bc", 0);
  EXPECT_EQ(*cv_LastFoundPosition(), 2);
  cv_Recall(testing::TempDir().Write("lf", "a\nb\r\n").c_str(), 1, 0, 0, nullptr);
  EXPECT_EQ(*cv_BareLineFeedCount(), 1);
}

TEST_F(CInterfaceStringsTest, ArraysAsInCpp) {
  cv_ArrayDescriptor* made = cv_DimArray(1, 2, 7);
  EXPECT_EQ(made->count, 3);
  EXPECT_EQ(made->userValue, 7u);
  DimArray(2, 0, 0);
  cv_SwapArrays(1, 2);
  EXPECT_EQ(reinterpret_cast<cv_ArrayDescriptor*>(ArrayTable()[2]), made);
  ElementText(2, 1);
  EXPECT_EQ(cv_LastElementAccess()->arrayNumber, 2);
  EXPECT_EQ(cv_LastElementAccess()->index, 1);
  cv_InsertElements(2);
  EXPECT_EQ(reinterpret_cast<cv_ArrayDescriptor*>(ArrayTable()[2])->count, 5);

  auto* records = static_cast<int32_t*>(cv_DimRecordArray(3, 4, 2));
  records[0] = 41;
  cv_CopyRecord(0, 2, 3);
  EXPECT_EQ(records[2], 41);
  ArrayTable()[3] = 0;  // a record array's block is tracked, not an array's
  ReleaseTrackedBlock(kReleaseAllTracked);
}

TEST_F(CInterfaceStringsTest, FieldsAndSorting) {
  testing::TempDir dir;
  cv_Recall(dir.Write("sort", "b,x\r\nA,y\r\n").c_str(), 1, 0, CV_COMMA_FIELDS, nullptr);
  cv_SortArray(1, 0);
  const cv_TextRecord field = cv_ElementText(1, CV_TWO_INDEX(0, 1));
  EXPECT_EQ(field.text, cv_FieldBuffer());
  EXPECT_STREQ(field.text, "y");
  EXPECT_EQ(cv_LastFieldAccess()->fieldLength, 1);
}

TEST_F(CInterfaceStringsTest, TextResultsAsInCpp) {
  EXPECT_STREQ(cv_ConvertCase("MiXed", 1), "MIXED");
  ReleaseTrackedBlock(kReleaseAllTracked);
  const int32_t length = cv_SubstituteText("a-b-c", "-", "+-", 0);
  EXPECT_EQ(length, 7);
  char expanded[8] = {};
  EXPECT_EQ(cv_ExpandDeferredText(SelectTempSlot(kSlotCurrent)->text, expanded, 7), 7u);
  EXPECT_STREQ(expanded, "a+-b+-c");
}

}  // namespace
}  // namespace corvala
