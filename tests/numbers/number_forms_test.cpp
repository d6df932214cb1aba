#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "corvala/numbers.h"
#include "runtime/numbers/powers_of_ten.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::RuntimeTest;

class NumberFormsTest : public RuntimeTest {};

// The floating form with the default 7 digits, and the integer forms by selector.
TEST_F(NumberFormsTest, WritesTheDocumentedTexts) {
  struct Case {
    int selector;
    double value;
    const char* text;
  } cases[] = {
      {kFloatingForm, 0.0, "0.0"},
      {kFloatingForm, -0.0, "0.0"},
      {kIntegerForm, 0.0, "0"},
      {kIntegerForm, -0.0, "0"},
      {kUnsignedForm, 0.0, "0"},
      {kFloatingForm, 123.456, "123.4560"},
      {kFloatingForm, 1.0, "1.000000"},
      {kFloatingForm, 10.0, "10.00000"},
      {kFloatingForm, 100.0, "100.0000"},
      {kFloatingForm, -2.5, "-2.500000"},
      {kFloatingForm, 1234567, "1234567.0"},
      {kFloatingForm, 12345678, "1.234568e+07"},
      {kFloatingForm, 9999999.6, "10000000.0"},
      {kFloatingForm, 1000, "1000.0000"},
      {kFloatingForm, 1e7, "10000000.0"},
      {kFloatingForm, 0.5, "0.5000000"},
      {kFloatingForm, 0.05, "0.05000000"},
      {kFloatingForm, 0.001, "0.001000000"},
      {kFloatingForm, 0.0001, "1.000000e-04"},
      {kFloatingForm, 9.99999999, "1.0000000e+01"},
      {kFloatingForm, 1e160, "^v?"},
      {kFloatingForm, -1e160, "-^v?"},
      {kFloatingForm, 1.5e100, "1.500000e+100"},
      {kFloatingForm, 2.5e-100, "2.500000e-100"},
      {kFloatingForm, std::numeric_limits<double>::infinity(), "^v?"},
      {kFloatingForm, -std::numeric_limits<double>::infinity(), "-^v?"},
      {kIntegerForm, 12.7, "12"},
      {kIntegerForm, -12.7, "-12"},
      {kIntegerForm, 1e19, "9223372036854775808"},
      {kIntegerForm, -1e19, "-9223372036854775808"},
      {kIntegerForm, std::numeric_limits<double>::infinity(), "9223372036854775808"},
      {kUnsignedForm, -1.0, "4294967295"},
      {kUnsignedForm, -1.5, "4294967294"},
      {kUnsignedForm, 5e9, "5000000000"},
      {kUnsignedForm, -4294967296.0, "0"},
      {kUnsignedForm, -4294967297.0, "4294967295"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.selector << " " << c.value);
    EXPECT_STREQ(NumberText(c.selector, c.value), c.text);
  }
}

// Carries in every layout, 19 and 20 digits, and values just below a power of ten whose
// exponent estimate is one too high.
TEST_F(NumberFormsTest, CarriesAndEstimatesKeepTheValue) {
  const long double belowTen = std::nextafter(10.0L, 0.0L);
  const long double belowTenth = std::nextafter(0.1L, 0.0L);
  const long double belowOne = std::nextafter(1.0L, 0.0L);
  struct Case {
    const char* format;
    long double value;
    const char* text;
  } cases[] = {
      {"%f", 99999996, "1.0000000e+08"},    // exponent form carries
      {"%f", 0.0999999999L, "0.10000000"},  // "0.0" form carries within itself
      {"%f", 0.99999999L, "1.0000000"},     // ... and into one digit before the point
      {"%f", 0.00099999999L, "1.0000000e-03"},
      {"%f", belowTen, "10.00000"},
      {"%Jf", belowTen, "10.00000000000000000"},
      {"%f", belowTenth, "0.1000000"},
      {"%Jf", belowOne, "1.000000000000000000"},
      {"%Jf", 1e19L, "^v?"},  // the estimate is low, the carry makes 20 digits: beyond 64 bits
      {"%Jf", 9223372036854775807.0L, "9223372036854775807.0"},
      {"%Jf", 9223372036854775808.0L, "^v?"},
      // The scale must be in the table: e - D from -156 to 142.
      {"%f", 1e-149L, "1.000000e-149"},
      {"%f", 1e-150L, "^v?"},
      {"%f", 1e150L, "1.0000000e+150"},  // estimated 149, one too low: carried
      {"%f", 1e151L, "^v?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.format << " " << c.value);
    EXPECT_STREQ(NumberText(c.format, c.value), c.text);
  }
}

TEST_F(NumberFormsTest, DefaultDigitsComeFromTheCommonData) {
  internal::g_state.core.commonData.entries[5] = 3;
  EXPECT_STREQ(NumberText(kFloatingForm, 1.5), "1.50");
  internal::g_state.core.commonData.entries[5] = 40;  // beyond 19: the usual 7
  EXPECT_STREQ(NumberText(kFloatingForm, 1.5), "1.500000");
}

}  // namespace
}  // namespace corvala
