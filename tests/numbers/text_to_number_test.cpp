#include "runtime/numbers/text_to_number.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "corvala/core.h"
#include "corvala/numbers.h"
#include "runtime/numbers/powers_of_ten.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::RuntimeTest;

class TextToNumberTest : public RuntimeTest {};

constexpr int32_t kBin = kBinaryNotation;
constexpr int32_t kHex = kHexNotation;
constexpr int32_t kBad = kNumberUnreadable;

TEST_F(TextToNumberTest, ReadsInt32WithItsCount) {
  const std::string ones32 = std::string(32, '1') + "b";
  const std::string hex16 = "0x" + std::string(16, 'F');
  const std::string hex17 = "0x1" + std::string(16, '0');
  struct Case {
    std::string text;
    int32_t value;
    int32_t count;
  } cases[] = {
      {"123", 123, 3},
      {"  42", 42, 4},
      {"-12", -12, 3},
      {"12d", 12, 3},
      {"12 x", 12, 2},
      {"0", 0, 1},
      {"000", 0, 3},
      {"  0 ", 0, 3},
      {"", kBad, kBad},
      {"   ", kBad, kBad},
      {"\x80\xFF"
       "7",
       7, 3},  // bytes from 0x80 are blanks too
      {"1,000", 1000, 5},
      {"0x1F", 31, 4 + kHex},
      {"$FF", 255, 3 + kHex},
      {"1Fh", 31, 3 + kHex},
      {"0x", kBad, kBad},
      {"$", kBad, kBad},
      {"0h", 0, 2 + kHex},
      {hex16, -1, 18 + kHex},
      {hex17, kBad, kBad},
      {"0x80000000", INT32_MIN, 10 + kHex},
      {"1x5", kBad, kBad},  // a prefix only comes first
      {"1010y", 10, 5 + kBin},
      {"1010b", 10, 5 + kBin},
      {"0b", 0, 2 + kBin},
      {ones32, -1, 33 + kBin},
      {"(12)", 12, 4},
      {"((12))", 12, 6},
      {"( 0 )", 0, 5},
      {"(1Fh)", 31, 5 + kHex},
      {"(101b)", 101, 6},
      {"(101y)", 5, 6 + kBin},
      {"101y)", 5, 4 + kBin},
      {"101yz", 5, 5 + kBin},
      {"(", kBad, kBad},
      {"1.5", 1, 3},
      {"2.5", 2, 3},
      {"1.6", 2, 3},
      {"-1.5", -2, 4},
      {"-2.5", -3, 4},
      {"abc", 0, 0},
      {"12abc", 12, 2},
      {"12f", 12, 3},
      {"00012", 12, 5},
      {"1234567890", 1234567890, 10},
      {"-123456789", -123456789, 10},
      // Long integers keep their low 32 bits up to 2^63; from there the conversion overflows.
      {"9223372036854775807", -1, 19},
      {"-9223372036854775807", 1, 20},
      {"9223372036854775808", 0, 19},
      {"-9223372036854775808", 0, 20},
      {"99999999999999999999999", 0, 23},
      {"1e", kBad, kBad},
      {"1e)", kBad, kBad},
      {"1.5e3", 1500, 5},
      {"1e+5", 100000, 4},
      {"1,2g", kBad, kBad},  // "g" is no number character
      {"1!", kBad, kBad},
      {"1e9999999999", kBad, kBad},
      {"1e142", kBad, kBad},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    NumberReading r = TextToNumber(c.text.c_str());
    EXPECT_EQ(r.value, c.value);
    EXPECT_EQ(r.count, c.count);
  }
}

// Where the rules leave the reading open, or would misread, the choices of the header.
TEST_F(TextToNumberTest, ChosenReadingsOfOddTexts) {
  struct Case {
    const char* text;
    int32_t value;
    int32_t count;
  } cases[] = {
      {"12-", 12, 2},  // a sign inside the number ends it
      {"5-3", 5, 1},
      {"-(5)", -5, 4},  // the sign before the parenthesis holds
      {"(-5)", -5, 4},
      {"+5", 5, 2},
      {"12D", 12, 3},  // upper-case suffixes count
      {"1FH", 31, 3 + kHex},
      {"1Dh", 29, 3 + kHex},    // a "d" followed by more is a hexadecimal digit
      {"0xff", 255, 4 + kHex},  // lower-case digits count as upper-case ones
      {"$aBc", 2748, 4 + kHex},
      {"1fh", 31, 3 + kHex},
      {"0xfg", kBad, kBad},
      {"1011Y", 11, 5 + kBin},
      {"0x1G", kBad, kBad},
      {"12b", kBad, kBad},  // binary digits up to the suffix
      {"((12)", 12, 5},     // the count stops at the terminator
      {"(12", 12, 3},
      {"((((0", 0, 5},
      {"1e+", 1, 3},  // an exponent without digits is 0
      {"1e-)", 1, 3},
      {"1234567890d", 1234567890, 11},
      {"1234567890f", 1234567890, 11},
      {"(1234567890)", 1234567890, 12},
      {"1e5.3", 100000, 3},  // a point after the exponent is not the mantissa's
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    NumberReading r = TextToNumber(c.text);
    EXPECT_EQ(r.value, c.value);
    EXPECT_EQ(r.count, c.count);
  }
}

TEST_F(TextToNumberTest, ReadsDoublesRoundedDown) {
  struct Case {
    const char* text;
    double value;
    int32_t count;
  } cases[] = {
      {"1,234.5", 1234.5, 7},
      {"1.2.3", 0.123, 5},
      {"1.5e3", 1500, 5},
      {"15e-1", 1.5, 5},
      {"1e+5", 100000, 4},
      // The store rounds toward minus infinity: just below 10^-5 and 10^-4, and for a
      // negative value the double of larger magnitude.
      {"1e-5", std::nextafter(1e-5, 0.0), 4},
      {"-1e-5", -1e-5, 5},
      {"0.0001", std::nextafter(1e-4, 0.0), 6},
      {"1e141", std::nextafter(1e141, 0.0), 5},
      {"1e-143", 1e-143, 6},
      {"1234567890.5", 1234567890.5, 12},
      {"(12345.67890)", std::nextafter(12345.6789, 0.0), 13},
      // Rounded away from zero, the 53 kept bits carry into a new power of two.
      {"-9007199254740991.5", -9007199254740992.0, 19},
      {"12345678901234567890", 12345678901234567168.0, 20},
      // Beyond 2^64 the accumulation rounds.
      {"18446744073709551616", 18446744073709551616.0, 20},
      {"123456789012345678901234567890", 1.2345678901234568e+29, 30},
      {"99999999999999999999999", 1e23, 23},
      {"0x10", 16, 4 + kHex},
      {"11b", 3, 3 + kBin},
      {"  0 ", 0, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    double stored = -999;
    NumberReading r = TextToNumber(c.text, reinterpret_cast<Word>(&stored), kNumberDouble);
    EXPECT_EQ(stored, c.value);
    EXPECT_EQ(r.count, c.count);
  }
  double stored = -999;
  EXPECT_EQ(TextToNumber("1e-144", reinterpret_cast<Word>(&stored), kNumberDouble).count, kBad);
  EXPECT_EQ(stored, -999) << "nothing is stored on error";
}

// Decimal texts with a point or an exponent take a one-pass reading to double; it must store
// the bits the full way stores, count included, also where the store's rounding down moves a
// negative value away from zero, at the ends of the scale and of the 19-digit mantissa, and
// beside the texts it leaves to the full way.
TEST_F(TextToNumberTest, OnePassDecimalsStoreWhatTheFullWayStores) {
  std::vector<std::string> texts = {"-1234.56789",
                                    "3.14159265e-07",
                                    "-9.99999999e+11",
                                    "6e23",
                                    "-6E-23",
                                    ".5",
                                    "-.5",
                                    "5.",
                                    "+2.5e0",
                                    "0.1",
                                    "-0.1",
                                    "0.000",
                                    "-0.0e7",
                                    "9999999999999999999.5",
                                    "999999999.9999999999",
                                    "1.8446744073709551615e19",
                                    "-1e-143",
                                    "1e141",
                                    "1e142",
                                    "1e-144",
                                    "1.5e",
                                    "1.5e+",
                                    "1e-0001",
                                    "1e00001",
                                    "1.5e5h",
                                    "1.5d",
                                    "1.5 ",
                                    "1.5)",
                                    "1.5,5",
                                    "1.5.5",
                                    "1e5x",
                                    "1.5\t"};
  // Random nine-digit mantissas at every scale, both signs.
  uint32_t seed = 16;
  for (int scale = -150; scale <= 150; ++scale) {
    seed = seed * 1103515245u + 12345u;
    char text[32];
    std::snprintf(text, sizeof text, "%s%u.%04ue%d", scale % 2 ? "-" : "", seed % 100000,
                  (seed >> 8) % 10000, scale);
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    for (int32_t kind : {kNumberDouble, kNumberSseDouble}) {
      double fast = -999, full = -999;
      const bool inRegister = kind == kNumberSseDouble;
      NumberReading r = internal::ConvertTextToNumber(
          text.c_str(), inRegister ? kSseRegisterCode + 1 : reinterpret_cast<Word>(&fast), kind,
          true);
      const uint64_t fastRegister = SseRegister(1).low;
      NumberReading expected = internal::ConvertTextToNumber(
          text.c_str(), inRegister ? kSseRegisterCode + 1 : reinterpret_cast<Word>(&full), kind,
          false);
      EXPECT_EQ(r.value, expected.value);
      EXPECT_EQ(r.count, expected.count);
      EXPECT_EQ(std::memcmp(&fast, &full, sizeof fast), 0);
      EXPECT_EQ(fastRegister, SseRegister(1).low);
    }
  }
}

// The short way for integer texts read to a 32-bit result gives what the full way gives: the
// low 32 bits past 32 bits, the count with a suffix letter, and the texts it must leave alone.
TEST_F(TextToNumberTest, OnePassIntegersReadAsTheFullWayReads) {
  const char* texts[] = {"7",
                         "-7",
                         "+7",
                         "-05",
                         "+007",
                         "+0",
                         "-0",
                         "-00",
                         "123456789",
                         "-2147483648",
                         "2147483648",
                         "4294967296",
                         "-4294967297",
                         "999999999999999999",
                         "-999999999999999999",
                         "9999999999999999999",
                         "12d",
                         "12D",
                         "12h",
                         "12 ",
                         "12)",
                         "12\xE9",
                         "12x",
                         "12.5",
                         "012",
                         " 12",
                         "-",
                         "+x",
                         "(12)"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    // The entry point first: the first text meets the reader's tables not yet built.
    NumberReading entry = TextToNumber(text);
    NumberReading fast = internal::ConvertTextToNumber(text, 0, kNumberInt32, true);
    NumberReading full = internal::ConvertTextToNumber(text, 0, kNumberInt32, false);
    EXPECT_EQ(fast.value, full.value);
    EXPECT_EQ(fast.count, full.count);
    EXPECT_EQ(entry.value, full.value);
    EXPECT_EQ(entry.count, full.count);
  }
}

// Every negative zero keeps its sign in the floating kinds, the plain integer "-0" as much
// as "-0.0", and still reads as 0 with its count in the integer kinds.
TEST_F(TextToNumberTest, NegativeZeroKeepsItsSign) {
  for (const char* text : {"-0", "(-0)", "-000", " -0 ", "-0.0", "-0e5", "-.0"}) {
    SCOPED_TRACE(text);
    double d = 1;
    float f = 1;
    long double x = 1;
    NumberReading r = TextToNumber(text, reinterpret_cast<Word>(&d), kNumberDouble);
    EXPECT_TRUE(d == 0 && std::signbit(d));
    TextToNumber(text, reinterpret_cast<Word>(&f), kNumberSingle);
    EXPECT_TRUE(f == 0 && std::signbit(f));
    TextToNumber(text, reinterpret_cast<Word>(&x), kNumberExtended);
    EXPECT_TRUE(x == 0 && std::signbit(x));
    SetSseRegister(1, {0, 0});
    TextToNumber(text, kSseRegisterCode + 1, kNumberSseDouble);
    EXPECT_EQ(SseRegister(1).low, 0x8000000000000000u);
    int64_t i = 1;
    TextToNumber(text, reinterpret_cast<Word>(&i), kNumberInt64);
    EXPECT_EQ(i, 0);
    NumberReading integer = TextToNumber(text);
    EXPECT_EQ(integer.value, 0);
    EXPECT_EQ(integer.count, r.count);
  }
  double d = -1;
  TextToNumber("0", reinterpret_cast<Word>(&d), kNumberDouble);
  EXPECT_FALSE(std::signbit(d));
}

TEST_F(TextToNumberTest, StoresEveryKind) {
  float single = 0;
  long double extended = 0;
  int64_t integer = 0;
  TextToNumber("0.1", reinterpret_cast<Word>(&single), kNumberSingle);
  EXPECT_EQ(single, std::nextafter(0.1f, 0.0f));
  TextToNumber("2.5", reinterpret_cast<Word>(&extended), kNumberExtended);
  EXPECT_EQ(extended, 2.5L);
  struct IntegerCase {
    const char* text;
    int64_t value;
  } integers[] = {{"-12.7", -13}, {"12.7", 12}, {"0x7FFFFFFFFFFFFFFF", INT64_MAX}, {"-7", -7}};
  for (const IntegerCase& c : integers) {
    SCOPED_TRACE(c.text);
    TextToNumber(c.text, reinterpret_cast<Word>(&integer), kNumberInt64);
    EXPECT_EQ(integer, c.value);
  }
  SetSseRegister(2, {0, 0x5555});
  TextToNumber("1.5", kSseRegisterCode + 2, kNumberSseDouble);
  EXPECT_EQ(SseRegister(2).low, 0x3FF8000000000000u);
  EXPECT_EQ(SseRegister(2).high, 0x5555u);
  TextToNumber("-2.5", kSseRegisterCode + 2, kNumberSseInt64);
  EXPECT_EQ(SseRegister(2).low, static_cast<uint64_t>(-3));
  TextToNumber("$10", kSseRegisterCode + 2, kNumberSseInt64Alt);
  EXPECT_EQ(SseRegister(2).low, 16u);
  // Register codes outside the bank and unknown kinds store nothing.
  EXPECT_EQ(TextToNumber("5", kSseRegisterCode + 8, kNumberSseInt64).count, 1);
  EXPECT_EQ(TextToNumber("5", 0, 9).count, 1);
  EXPECT_EQ(TextToNumber("5", 0, -1).count, 1);
  for (int32_t n = 0; n < 8; ++n) EXPECT_EQ(SseRegister(n).low, n == 2 ? 16u : 0u);
}

TEST_F(TextToNumberTest, ARegisterWrittenHereIsFormattedThere) {
  TextToNumber("-1234.5", 23, kNumberSseDouble);
  uint32_t descriptor = OperandDescriptor(kNumberSseDouble);
  EXPECT_STREQ(NumberToText(kFloatingForm, descriptor, 5, 23), "-1234.500");
  TextToNumber("0x123456789", 27, kNumberSseInt64);
  EXPECT_STREQ(NumberText(kIntegerForm, SseInt64{7}), "4886718345");
}

TEST_F(TextToNumberTest, SourcesBeyondAnAddress) {
  SelectTempSlot(kSlotAdvance)->text = "77 ";
  EXPECT_EQ(TextToNumber(kCurrentSlot).value, 77);
  SelectTempSlot(kSlotCurrent)->text = nullptr;
  EXPECT_EQ(TextToNumber(kCurrentSlot).value, kBad);
  EXPECT_EQ(TextToNumber(5).count, kBad);
}

TEST_F(TextToNumberTest, ControlWordIsRestored) {
  uint16_t original;
  asm volatile("fnstcw %0" : "=m"(original));
  uint16_t caller = static_cast<uint16_t>((original & ~0x0F00) | 0x0800);  // up, 24 bits
  asm volatile("fldcw %0" : : "m"(caller));
  double stored = 0;
  uint16_t status;
  asm volatile("fnstsw %0" : "=m"(status));
  int top = (status >> 11) & 7;
  TextToNumber("1234567890123456789012345", reinterpret_cast<Word>(&stored), kNumberSingle);
  TextToNumber("-1.5", 0, kNumberInt32);
  TextToNumber("0.0001", reinterpret_cast<Word>(&stored), kNumberDouble);
  asm volatile("fnstsw %0" : "=m"(status));
  EXPECT_EQ((status >> 11) & 7, top) << "the x87 register stack is left as it was";
  uint16_t after;
  asm volatile("fnstcw %0" : "=m"(after));
  asm volatile("fldcw %0" : : "m"(original));
  EXPECT_EQ(after, caller);
  EXPECT_EQ(stored, std::nextafter(1e-4, 0.0));
}

TEST_F(TextToNumberTest, BuildsItsTablesOnFirstUse) {
  EXPECT_FALSE(internal::PowersOfTenBuilt());
  TextToNumber("1");
  EXPECT_TRUE(internal::PowersOfTenBuilt());
}

}  // namespace
}  // namespace corvala
