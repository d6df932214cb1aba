#include "platform/text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/errors.h"

namespace {

std::u16string Map(DWORD flags, const std::u16string& source) {
  std::u16string out(source.size(), u'?');
  int written =
      platform::LCMapStringW(LOCALE_USER_DEFAULT, flags, reinterpret_cast<LPCWSTR>(source.c_str()),
                             static_cast<int>(source.size()), reinterpret_cast<LPWSTR>(out.data()),
                             static_cast<int>(out.size()));
  EXPECT_EQ(written, static_cast<int>(source.size()));
  return out;
}

constexpr DWORD kLower = LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING;
constexpr DWORD kUpper = LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING;

TEST(LCMapStringWTest, SimpleCaseMappingUnitForUnit) {
  struct Case {
    std::u16string source, lower, upper;
  } cases[] = {
      {u"Grüße, KÖLN!", u"grüße, köln!", u"GRÜßE, KÖLN!"},  // no expansion of the sharp s
      {u"ÉCOLE école 123", u"école école 123", u"ÉCOLE ÉCOLE 123"},
      {u"ΣΊΣΥΦΟΣ σίσυφος", u"σίσυφοσ σίσυφος", u"ΣΊΣΥΦΟΣ ΣΊΣΥΦΟΣ"},
      {u"Жёлтый", u"жёлтый", u"ЖЁЛТЫЙ"},
      {std::u16string(1, u'\0') + u"aB", std::u16string(1, u'\0') + u"ab",
       std::u16string(1, u'\0') + u"AB"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(Map(kLower, c.source) == c.lower);
    EXPECT_TRUE(Map(kUpper, c.source) == c.upper);
    EXPECT_TRUE(Map(LCMAP_LOWERCASE, c.source) == c.lower);
  }
}

TEST(LCMapStringWTest, DoesNotDependOnTheProcessLocale) {
  std::string saved = std::setlocale(LC_ALL, nullptr);
  std::setlocale(LC_ALL, "C");
  EXPECT_TRUE(Map(kUpper, u"é") == u"É");
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(LCMapStringWTest, LengthsAndErrors) {
  const char16_t* source = u"Abc";
  char16_t out[8] = {};
  LPCWSTR src = reinterpret_cast<LPCWSTR>(source);
  LPWSTR dst = reinterpret_cast<LPWSTR>(out);
  // -1: up to and including the terminator.
  EXPECT_EQ(platform::LCMapStringW(LOCALE_USER_DEFAULT, kUpper, src, -1, dst, 8), 4);
  EXPECT_EQ(std::u16string(out), u"ABC");
  EXPECT_EQ(platform::LCMapStringW(LOCALE_USER_DEFAULT, kUpper, src, -1, nullptr, 0), 4);

  struct Case {
    DWORD flags;
    int sourceLength;
    int destinationLength;
    DWORD error;
  } failures[] = {
      {kUpper, 3, 2, ERROR_INSUFFICIENT_BUFFER},
      {kUpper, 0, 8, ERROR_INVALID_PARAMETER},
      {LCMAP_UPPERCASE | LCMAP_LOWERCASE, 3, 8, ERROR_INVALID_FLAGS},
  };
  for (const Case& c : failures) {
    platform::SetLastError(NO_ERROR);
    EXPECT_EQ(platform::LCMapStringW(LOCALE_USER_DEFAULT, c.flags, src, c.sourceLength, dst,
                                     c.destinationLength),
              0);
    EXPECT_EQ(platform::GetLastError(), c.error) << c.flags << " " << c.sourceLength;
  }
}

}  // namespace
