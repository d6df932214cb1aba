#include <gtest/gtest.h>

#include "corvala/corvala.h"
#include "corvala/corvala_c.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using CInterfaceNumbersTest = testing::RuntimeTest;

TEST_F(CInterfaceNumbersTest, TextToNumberGivesValueAndCount) {
  const cv_NumberReading plain = cv_TextToNumber("(12)", 0, CV_NUMBER_INT32);
  EXPECT_EQ(plain.value, 12);
  EXPECT_EQ(plain.count, 4);
  double stored = 0;
  const cv_NumberReading hex = cv_TextToNumber("$1F", reinterpret_cast<cv_word>(&stored),
                                               static_cast<int32_t>(CV_NUMBER_DOUBLE));
  EXPECT_EQ(stored, 31.0);
  EXPECT_EQ(hex.count, 3 + CV_HEX_NOTATION);
  TrimText("x", 0);
  EXPECT_EQ(cv_TextToNumber(CV_CURRENT_SLOT, 0, 0).value, CV_NUMBER_UNREADABLE);
}

TEST_F(CInterfaceNumbersTest, NumberToTextTakesTheSlotsInReverse) {
  const double price = 2.5;
  const cv_word slots[] = {reinterpret_cast<cv_word>(&price), 4};  // operand 2, operand 1
  const uint32_t descriptor = CV_OPERAND_DESCRIPTOR(CV_NUMBER_INT32, CV_NUMBER_SET) |
                              (CV_OPERAND_DESCRIPTOR(CV_NUMBER_DOUBLE, CV_NUMBER_MULTIPLY) << 6);
  EXPECT_STREQ(cv_NumberToText("=%3f", descriptor, 6, slots, 2), "=10.0");
  EXPECT_STREQ(cv_NumberToText(CV_INTEGER_FORM, 0, 5, slots + 1, 1), NumberText("%i", 4));
}

TEST_F(CInterfaceNumbersTest, ComparisonIsANumber) {
  EXPECT_EQ(cv_CompareWithTolerance(0, 1.0L, 2.0L), CV_BELOW);
  EXPECT_EQ(cv_CompareWithTolerance(0, 2.0L, 2.0L), CV_EQUAL);
  EXPECT_EQ(cv_CompareWithTolerance(0, 3.0L, 2.0L), CV_ABOVE);
}

TEST_F(CInterfaceNumbersTest, DigitsAndRegistersAsInCpp) {
  char decimal[12];
  cv_IntToDecimal(-2147483647 - 1, decimal);
  EXPECT_STREQ(decimal, "-2147483648");
  char digits[8] = {};
  EXPECT_EQ(cv_WriteDecimalDigits(1234, digits + 6, digits + 4), digits + 1);
  EXPECT_STREQ(digits + 2, "12.34");
  cv_BuildPowersOfTen();
  EXPECT_EQ(cv_PowersOfTen(), PowersOfTen());

  cv_SetSseRegister(2, {1, 2});
  EXPECT_EQ(cv_SseRegister(2).low, 1u);
  EXPECT_EQ(cv_SseRegister(2).high, 2u);
  const uint64_t value = 42;
  uint64_t back = 0;
  cv_LoadSseLow(3, &value);
  cv_StoreSseLow(3, &back);
  EXPECT_EQ(back, 42u);
}

}  // namespace
}  // namespace corvala
