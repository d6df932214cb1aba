#include <cstdint>
#include <cstring>
#include <string>

#include "corvala/core.h"
#include "corvala/numbers.h"
#include "runtime/core/state.h"
#include "runtime/numbers/powers_of_ten.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::RuntimeTest;

class NumberToTextTest : public RuntimeTest {};

uint16_t ControlWord() {
  uint16_t cw;
  asm volatile("fnstcw %0" : "=m"(cw));
  return cw;
}

void SetControlWord(uint16_t cw) { asm volatile("fldcw %0" : : "m"(cw)); }

// The top of the x87 register stack: a conversion leaves it where it found it.
int StackTop() {
  uint16_t status;
  asm volatile("fnstsw %0" : "=m"(status));
  return (status >> 11) & 7;
}

constexpr uint32_t Field(NumberKind kind, NumberOperator op, int operand) {
  return OperandDescriptor(kind, op) << (6 * (operand - 1));
}

TEST_F(NumberToTextTest, FormatTextsPlaceTheNumber) {
  struct Case {
    const char* format;
    double value;
    const char* text;
  } cases[] = {
      {"%1f", 5.3, "5.0"},
      {"%1f", 53, "5.0e+01"},
      {"50%% %i", 5, "505.000000 %i"},
      {"%3f", 12345, "1.23e+04"},
      {"[%2f]", -1234.5, "[-1.2e+03]"},
      {"%0f", 5, "5.000000f"},
      {"x=%i\\n", 42, "x=42\r\n"},
      {"a%5fb", 1.5, "a1.5000b"},
      {"100% sure: %u", -1, "100% sure: 4294967295"},
      {"%Jf", 1.5, "1.500000000000000000"},
      {"%Jf", 9.9e18, "^v?"},
      {"%Jf", 9.2e10, "92000000000.00000000"},
      {"%Jf", 9.3, "^v?"},  // 19 digits above 2^63
      {"%:f", 1.5, "1.50"},
      {"%@f", 1.5, "1.50000000"},
      {"%Af", 1.5, "1.500000000"},
      {"%9x", 2.0, "2.00000000"},
      {"\\t%i\\q\\", 3, "\t3\\q\\"},
      {"%i %i", 5, "5 %i"},
      {"% i:%\x01%\x80%i", 5,
       "% i:%\x01%\x80"
       "5"},
      {"%\x7F|", 5, "5.000000|"},
      {"%5", 1.5, "1.5000"},  // the digit count at the end skips nothing more
      {"x = ", 1.5, "x = 1.500000"},
      {"", 1.5, "1.500000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_STREQ(NumberText(c.format, c.value), c.text);
  }
}

TEST_F(NumberToTextTest, NineteenDigitsAndTheMendedMantissaOfNines) {
  // 10^-100 * (1 - 10^-17), nearest: the estimate -100 is one too high and the mantissa
  // comes out with 18 digits.
  long double nines = internal::ExtendedFromBits(0x3EB2, 0xDFF9772470297E1Cull);
  EXPECT_STREQ(NumberText("%Jf", nines), "9.999999999999999990e-101");
  int64_t big = 1234567890123456789;
  EXPECT_STREQ(NumberText("%Jf", big), "1234567890123456789.0");
  // Division rounds toward minus infinity: 2/3 ends in 6, not 7.
  EXPECT_STREQ(NumberText("%Jf", 2, Over(3)), "0.6666666666666666666");
  EXPECT_STREQ(NumberText("%Jf", 1, Over(3)), "0.3333333333333333333");
}

TEST_F(NumberToTextTest, OperandKindsAndOperators) {
  float single = 0.25f;
  double dbl = 1.5;
  long double ext = 2.75L;
  int64_t i64 = -1234567890123;
  SetSseRegister(3, {0x4004000000000000ull, 0x1111});  // 2.5
  SetSseRegister(7, {static_cast<uint64_t>(-42), 0x2222});
  EXPECT_STREQ(NumberText(kFloatingForm, single), "0.2500000");
  EXPECT_STREQ(NumberText(kFloatingForm, dbl), "1.500000");
  EXPECT_STREQ(NumberText(kFloatingForm, ext), "2.750000");
  EXPECT_STREQ(NumberText(kIntegerForm, i64), "-1234567890123");
  EXPECT_STREQ(NumberText(kFloatingForm, SseDouble{3}), "2.500000");
  EXPECT_STREQ(NumberText(kIntegerForm, SseInt64{7}), "-42");
  EXPECT_STREQ(NumberText(kFloatingForm, 1, Plus(dbl), Minus(single), Times(ext), Over(4)),
               "1.546875");
  // Kind 7 reads like kind 5.
  uint32_t kind7 = Field(kNumberSseInt64Alt, kNumberSet, 1);
  EXPECT_STREQ(NumberToText(kIntegerForm, kind7, 5, kSseRegisterCode + 7), "-42");
  // The register bank's high halves stay as they were.
  EXPECT_EQ(SseRegister(3).high, 0x1111u);
  EXPECT_EQ(SseRegister(7).high, 0x2222u);
}

TEST_F(NumberToTextTest, RawFormReadsOperandSlotsInReverseOrder) {
  uint32_t sevenOverTwo =
      Field(kNumberInt32, kNumberSet, 1) | Field(kNumberInt32, kNumberDivide, 2);
  // Operand 1 is the last argument.
  EXPECT_STREQ(NumberToText(0, sevenOverTwo, 6, 2, 7), "3.500000");
  EXPECT_STREQ(NumberToText(0, sevenOverTwo | kNegateFirstOperand, 6, 2, 7), "-3.500000");
  // Only operand 1 is negated.
  uint32_t minus = Field(kNumberInt32, kNumberSet, 1) | Field(kNumberInt32, kNumberSubtract, 2);
  EXPECT_STREQ(NumberToText(1, minus | kNegateFirstOperand, 6, 2, 7), "-9");
  // A single-precision slot holds the value's bits.
  EXPECT_STREQ(NumberToText(0, Field(kNumberSingle, kNumberSet, 1), 5, 0.5f), "0.5000000");
  // Operators 5 to 7 leave the result; operator 0 later replaces it.
  uint32_t noOp =
      Field(kNumberInt32, kNumberSet, 1) | (Field(kNumberInt32, kNumberSet, 2) | 5 << 6);
  EXPECT_STREQ(NumberToText(1, noOp, 6, 9, 7), "7");
  uint32_t replace = Field(kNumberInt32, kNumberSet, 1) | Field(kNumberInt32, kNumberSet, 2) |
                     Field(kNumberInt32, kNumberAdd, 3);
  EXPECT_STREQ(NumberToText(1, replace, 7, 1, 9, 7), "10");
  // The operand count comes from the descriptor: a zero field ends the list.
  EXPECT_STREQ(NumberToText(1, Field(kNumberInt32, kNumberSet, 1), 6, 99, 7), "7");
  // Operands that count leaves no slot for are not read.
  EXPECT_STREQ(NumberToText(1, sevenOverTwo, 40, 7), "0");
  EXPECT_STREQ(NumberToText(1, sevenOverTwo, 5, 7), "7");
  EXPECT_STREQ(NumberToText(1, sevenOverTwo, 2), "0");
  // A register code outside 20 to 27 reads as zero.
  EXPECT_STREQ(NumberToText(1, Field(kNumberSseInt64, kNumberSet, 1), 5, 28), "0");
  // Division by zero is out of range.
  EXPECT_STREQ(NumberText(0, 1, Over(0)), "^v?");
  EXPECT_STREQ(NumberText(0, -1, Over(0)), "-^v?");
  EXPECT_STREQ(NumberText(0, 0, Over(0)), "^v?");  // NaN
  EXPECT_STREQ(NumberText(1, 0, Over(0)), "^v?");
}

// A lone integer in an integer form takes a path without the floating-point unit; an SSE
// register operand with the same value takes the floating one. Both must agree.
TEST_F(NumberToTextTest, IntegerTextsAgreeWithTheFloatingPath) {
  const int64_t values[] = {0,           1,           -1,
                            INT32_MAX,   INT32_MIN,   4294967296,
                            -4294967296, -4294967297, -9999999999999,
                            INT64_MAX,   INT64_MIN,   INT64_MIN + 1};
  for (int64_t v : values) {
    for (int selector : {kIntegerForm, kUnsignedForm}) {
      for (uint32_t negate : {0u, kNegateFirstOperand}) {
        SCOPED_TRACE(::testing::Message() << v << " " << selector << " " << negate);
        SetSseRegister(0, {static_cast<uint64_t>(v), 0});
        std::string floating = NumberToText(
            selector, Field(kNumberSseInt64, kNumberSet, 1) | negate, 5, kSseRegisterCode);
        std::string direct =
            NumberToText(selector, Field(kNumberInt64, kNumberSet, 1) | negate, 5, &v);
        EXPECT_EQ(direct, floating);
        if (v >= INT32_MIN && v <= INT32_MAX) {
          std::string small = NumberToText(selector, Field(kNumberInt32, kNumberSet, 1) | negate, 5,
                                           static_cast<int32_t>(v));
          EXPECT_EQ(small, floating);
        }
      }
    }
  }
}

TEST_F(NumberToTextTest, ResultIsTheNewestTempSlot) {
  const char* text = NumberText(kFloatingForm, 1.0);
  TempSlot* slot = SelectTempSlot(kSlotCurrent);
  EXPECT_EQ(slot->text, text);
  EXPECT_EQ(slot->length, 8);
  // 127 takes the current slot's text as the format.
  slot->text = "<%3f>";
  EXPECT_STREQ(NumberText(kCurrentSlot, 3.14159), "<3.14>");
  SelectTempSlot(kSlotCurrent)->text = nullptr;
  EXPECT_STREQ(NumberText(kCurrentSlot, 2), "2.000000");
  // Small selectors are no address.
  EXPECT_STREQ(NumberText(5, 2), "2.000000");
}

TEST_F(NumberToTextTest, WideTextCountsBytes) {
  const char16_t* text = NumberTextW(kFloatingForm, 1.0);
  EXPECT_EQ(std::u16string(text), u"1.000000");
  EXPECT_EQ(text[8], u'\0');
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, 16);
  EXPECT_EQ(std::u16string(NumberTextW("a\\n%i\xE9", 7)), u"a\r\n7\u00E9");
  // The integer forms too, which otherwise take a byte-text path of their own.
  EXPECT_EQ(std::u16string(NumberTextW(kIntegerForm, -7)), u"-7");
  EXPECT_EQ(std::u16string(NumberTextW(kUnsignedForm, -1)), u"4294967295");
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, 20);
}

TEST_F(NumberToTextTest, ControlWordIsRestored) {
  uint16_t original = ControlWord();
  // Round up in 53-bit precision: the result must not change, and neither must the mode.
  uint16_t caller = static_cast<uint16_t>((original & ~0x0F00) | 0x0A00);
  SetControlWord(caller);
  int top = StackTop();
  const char* text = NumberText("%Jf", 2, Over(3));
  NumberText(kIntegerForm, 1.5, Plus(2.5));
  EXPECT_EQ(StackTop(), top);
  uint16_t after = ControlWord();
  SetControlWord(original);
  EXPECT_EQ(after, caller);
  EXPECT_STREQ(text, "0.6666666666666666666");
  EXPECT_EQ(ControlWord(), original);
}

TEST_F(NumberToTextTest, BuildsThePowersOfTenOnFirstUse) {
  EXPECT_FALSE(internal::PowersOfTenBuilt());
  NumberText(kIntegerForm, 1);
  EXPECT_TRUE(internal::PowersOfTenBuilt());
}

TEST_F(NumberToTextTest, LongFormatsAreCutToFitTheScratchArea) {
  std::string format(300000, 'a');
  format += "%i";
  // From the last write position before the wrap, the widened text still ends in bounds.
  char* scratch = internal::g_state.core.scratch;
  internal::g_state.core.scratchWrite = scratch + internal::kScratchRing - 4;
  const char16_t* wide = NumberTextW(format.c_str(), 5);
  int32_t length = SelectTempSlot(kSlotCurrent)->length;
  EXPECT_LE(reinterpret_cast<const char*>(wide) + length + 2, scratch + internal::kScratchLimit);
  EXPECT_EQ(wide[length / 2], u'\0');
  std::u16string back(wide);
  EXPECT_EQ(back.size() * 2, static_cast<size_t>(length));
  EXPECT_EQ(back.substr(back.size() - 9), u"a5.000000") << "the number follows the cut text";
  const char* narrow = NumberText(format.c_str(), 5);
  EXPECT_EQ(std::strlen(narrow), static_cast<size_t>(SelectTempSlot(kSlotCurrent)->length));
  EXPECT_LE(std::strlen(narrow), 79900u);
}

}  // namespace
}  // namespace corvala
