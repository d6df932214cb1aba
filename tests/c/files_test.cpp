#include <gtest/gtest.h>

#include "corvala/corvala.h"
#include "corvala/corvala_c.h"
#include "platform/hooks.h"
#include "tests/support/runtime_test.h"
#include "tests/support/temp_dir.h"
#include "tests/support/typed_keys.h"

namespace corvala {
namespace {

using CInterfaceFilesTest = testing::RuntimeTest;

TEST_F(CInterfaceFilesTest, BuildTextTakesTextsIdsAndSlots) {
  char buffer[16] = {};  // the buffer target writes no terminator
  cv_TargetBuffer(buffer, sizeof buffer);
  TrimText("  end", TrimLeading);
  const cv_text pieces[] = {"start", CV_TEXT_ID(2), CV_CURRENT_SLOT};
  cv_BuildText(CV_TARGET_BUFFER | 3, pieces);
  EXPECT_STREQ(buffer, "start\tend");
}

TEST_F(CInterfaceFilesTest, FileSizeInHalves) {
  testing::TempDir dir;
  const std::string file = dir.Write("five", "12345");
  const cv_FileSizeHalves size = cv_FileSize(file.c_str());
  EXPECT_EQ(size.low, 5u);
  EXPECT_EQ(size.high, 0u);
  const cv_FileSizeHalves missing = cv_FileSize(dir.Path("missing").c_str());
  EXPECT_EQ(missing.low, 0xFFFFFFFFu);
  EXPECT_EQ(missing.high, 0xFFFFFFFFu);
}

TEST_F(CInterfaceFilesTest, FileNumbersStoreAndCompare) {
  testing::TempDir dir;
  const std::string out = dir.Path("out.txt");
  cv_OpenOutput(1, out.c_str(), 'O');
  *cv_WriteByteCount() = 0;
  const cv_text pieces[] = {"line", CV_TEXT_ID(1)};
  cv_BuildText(CV_BUILD_TO_FILE(1) | 2, pieces);
  EXPECT_NE(cv_TouchFile(FileTable()[1], 0), 0);
  CloseFile(1);
  EXPECT_EQ(dir.Read("out.txt"), "line\r\n");

  DimArray(1, 0, 0);
  ElementText(1, 0);
  BuildText(kBuildAssign, {"line"});
  EXPECT_EQ(cv_Store(dir.Path("stored.txt").c_str(), 1, 1), 1);
  EraseArray(1);
  const cv_FileDifference same = cv_FileCompare(out.c_str(), dir.Path("stored.txt").c_str(), 0);
  EXPECT_EQ(same.difference, 0);
  EXPECT_EQ(same.position, 6u);

  char buffer[8] = {};
  EXPECT_NE(cv_OpenInput(2, out.c_str(), CV_TEXT_ID(0)), CV_OPEN_FAILED);
  const cv_FileBytes read = cv_ReadFromFile(2, buffer, 4);
  CloseFile(2);
  EXPECT_EQ(read.count, 4);
  EXPECT_EQ(read.buffer, buffer);
  EXPECT_STREQ(buffer, "line");
}

TEST_F(CInterfaceFilesTest, QueriesAndTargets) {
  testing::TempDir dir;
  const std::string file = dir.Write("found.txt", "abc");
  EXPECT_NE(cv_FindFile(file.c_str(), 1), 0u);
  EXPECT_EQ(cv_FindData()->nFileSizeLow, 3u);
  EXPECT_EQ(*cv_FindHandle(), 0u);

  cv_ElementRecord variable = {};
  cv_TargetVariable(&variable);
  cv_FileReadStr(file.c_str());
  const cv_text piece[] = {CV_CURRENT_SLOT};
  cv_BuildText(CV_BUILD_ASSIGN | 1, piece);
  EXPECT_STREQ(variable.text, "abc");
  CountedFree(const_cast<char*>(variable.text));

  EXPECT_EQ(cv_OutputWindow(), &OutputWindow);
  EXPECT_EQ(cv_ConsoleWrite(""), 0u);
  EXPECT_STREQ(cv_CommandLineArg(99), nullptr);
  // This program has no string resources: the platform's message, then the empty text.
  EXPECT_STREQ(cv_ResourceString(1), "");
  EXPECT_EQ(platform::hooks::ShownBoxes().size(), 1u);
}

#ifndef _WIN32
TEST_F(CInterfaceFilesTest, WaitKeyGivesTheKeyRecord) {
  cv_KeyPress key{};
  testing::WithTypedKeys("\x1b[A", [&] { key = cv_WaitKey(); });
  EXPECT_EQ(key.code, 0x48);
  EXPECT_EQ(key.extended, 1);
}
#endif

}  // namespace
}  // namespace corvala
