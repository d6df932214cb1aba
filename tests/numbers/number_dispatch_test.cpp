#include "runtime/numbers/number_dispatch.h"

#include <cstdint>
#include <cstring>

#include "tests/support/runtime_test.h"

namespace corvala::internal {
namespace {

using testing::RuntimeTest;

class NumberDispatchTest : public RuntimeTest {};

TEST_F(NumberDispatchTest, EveryByteHasItsClass) {
  EXPECT_FALSE(NumberDispatchBuilt());
  BuildNumberDispatch();
  EXPECT_TRUE(NumberDispatchBuilt());
  struct Row {
    const char* characters;
    size_t length;  // the zero byte is a character here
    uint8_t scan;
  } scanRows[] = {
      {"\0\t )", 4, kScanEnd},
      {".", 1, kScanPoint},
      {"0123456789aAcCfF,", 17, kScanContinue},
      {"+-", 2, kScanSign},
      {"eE", 2, kScanExponentOrHex},
      {"dD", 2, kScanDecimalSuffixOrHex},
      {"bB", 2, kScanBinarySuffixOrHex},
      {"yY", 2, kScanBinarySuffix},
      {"hH", 2, kScanHexSuffix},
      {"$xX", 3, kScanHexPrefix},
      {"(", 1, kScanOpen},
  };
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    uint8_t scan = kScanError;
    for (const Row& row : scanRows) {
      if (std::memchr(row.characters, b, row.length) != nullptr) scan = row.scan;
    }
    EXPECT_EQ(g_state.numbers.scanDispatch[b], scan);
    uint8_t digit = b >= '0' && b <= '9'   ? kDigitValue
                    : b == '.' || b == ',' ? kDigitSkip
                    : b == 'e' || b == 'E' ? kDigitExponent
                                           : kDigitEnd;
    EXPECT_EQ(g_state.numbers.digitDispatch[b], digit);
  }
}

}  // namespace
}  // namespace corvala::internal
