// Test entry: message boxes are scripted for every test (they write caption and text to
// standard error instead of waiting on a screen), so death tests can match them.
#include <gtest/gtest.h>

#include "platform/hooks.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  platform::hooks::ScriptMessageBoxes(true);
  return RUN_ALL_TESTS();
}
