#include <gtest/gtest.h>

#include "corvala/corvala.h"
#include "corvala/corvala_c.h"
#include "tests/support/runtime_test.h"
#include "tests/support/temp_dir.h"

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

}  // namespace
}  // namespace corvala
