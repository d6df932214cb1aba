#include "corvala/version.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "corvala/core.h"

namespace corvala {
namespace {

// The running library's version is the one these headers were made with, and its number is
// the text's parts, two decimal digits each for minor and patch.
TEST(VersionTest, TextAndNumberAgreeWithTheHeaders) {
  const VersionInfo version = Version();
  ASSERT_NE(version.text, nullptr);
  EXPECT_STREQ(version.text, CORVALA_VERSION_TEXT);
  unsigned major = 0, minor = 0, patch = 0;
  char rest = 0;
  ASSERT_EQ(std::sscanf(version.text, "%u.%u.%u%c", &major, &minor, &patch, &rest), 3)
      << version.text;
  EXPECT_EQ(major, static_cast<unsigned>(CORVALA_VERSION_MAJOR));
  EXPECT_LT(minor, 100u);
  EXPECT_LT(patch, 100u);
  EXPECT_EQ(version.number, major * 10000 + minor * 100 + patch);
}

}  // namespace
}  // namespace corvala
