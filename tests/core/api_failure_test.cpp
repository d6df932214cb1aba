#include "corvala/core.h"
#include "platform/errors.h"
#include "platform/hooks.h"
#include "platform/types.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::RuntimeTest;

class ApiFailureTest : public RuntimeTest {};

TEST_F(ApiFailureTest, ShowsTheLastErrorOnlyForAFailedCall) {
  ReportApiFailure(1);
  EXPECT_TRUE(platform::hooks::ShownBoxes().empty());

  platform::SetLastError(ERROR_FILE_NOT_FOUND);
  ReportApiFailure(0);
  ASSERT_EQ(platform::hooks::ShownBoxes().size(), 1u);
  const platform::hooks::ShownBox& box = platform::hooks::ShownBoxes()[0];
  EXPECT_STREQ(box.caption, "GetLastError:\r\n#");
  EXPECT_EQ(box.text, testing::SystemErrorText(ERROR_FILE_NOT_FOUND));
  EXPECT_STRNE(box.text, "");
  EXPECT_EQ(box.type, MB_OKCANCEL);
}

// OK keeps the boxes coming; Cancel, or a box that could not be shown, silences them.
TEST_F(ApiFailureTest, CancelSilencesLaterFailures) {
  struct Case {
    int answer;
    bool laterBoxShown;
  } cases[] = {{IDOK, true}, {IDCANCEL, false}, {0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    ApiBoxesOff = 0;
    platform::hooks::ClearShownBoxes();
    platform::hooks::QueueMessageBoxAnswer(c.answer);
    platform::SetLastError(ERROR_ACCESS_DENIED);
    ReportApiFailure(0);
    ReportApiFailure(0);
    EXPECT_EQ(platform::hooks::ShownBoxes().size(), c.laterBoxShown ? 2u : 1u);
    EXPECT_EQ(ApiBoxesOff != 0, !c.laterBoxShown);
  }
}

}  // namespace
}  // namespace corvala
