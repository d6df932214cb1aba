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

}  // namespace
}  // namespace corvala
