#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "corvala/strings.h"
#include "tests/strings/guarded_page.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::GuardedPage;

// A 16-byte aligned buffer of non-zero filler, so that bytes around a string are never zero
// by accident.
struct alignas(128) Filled {
  char bytes[512];
  Filled() { std::memset(bytes, 'q', sizeof bytes); }
  char* Place(size_t offset, const std::string& text) {
    std::memcpy(bytes + offset, text.c_str(), text.size() + 1);
    return bytes + offset;
  }
};

TEST(TextLengthTest, MeasuresFromEveryAlignment) {
  for (size_t offset = 0; offset < 16; ++offset) {
    for (size_t length = 0; length < 400; ++length) {  // ends in single blocks and runs
      Filled buffer;
      const char* text = buffer.Place(offset, std::string(length, 'a'));
      EXPECT_EQ(TextLength(text), length) << "offset " << offset;
    }
  }
}

TEST(TextLengthTest, PrecedingZerosInTheBlockDoNotCount) {
  alignas(16) char block[32] = {};
  std::memcpy(block + 15, "z", 2);  // one byte before the boundary, zeros in front
  EXPECT_EQ(TextLength(block + 15), 1u);
  std::memcpy(block + 5, "abc", 4);
  EXPECT_EQ(TextLength(block + 6), 2u);
}

TEST(TextLengthTest, NeverReadsThePageAfterTheTerminator) {
  GuardedPage page;
  for (size_t length = 0; length < 80; ++length) {
    std::string text(length, 'b');
    EXPECT_EQ(TextLength(page.PlaceAtEnd(text.c_str(), length + 1)), length);
  }
}

TEST(WideTextLengthTest, MeasuresUnits) {
  alignas(16) char16_t buffer[64];
  for (size_t offset = 0; offset < 8; ++offset) {
    for (size_t length : {0, 1, 3, 7, 8, 9, 20, 40}) {
      std::fill(std::begin(buffer), std::end(buffer), u'\x1234');
      buffer[offset + length] = 0;
      EXPECT_EQ(WideTextLength(buffer + offset), length) << "offset " << offset;
    }
  }
  // A zero byte inside a unit is not a terminator.
  const char16_t mixed[] = {0x0100, 0x4100, 0x0001, 0};
  EXPECT_EQ(WideTextLength(mixed), 3u);
}

TEST(WideTextLengthTest, OddAddressesAndPageEnds) {
  alignas(16) char bytes[40] = {};
  std::memset(bytes, 0x41, 11);  // from byte 1: five units 0x4141, then a zero unit
  EXPECT_EQ(WideTextLength(reinterpret_cast<const char16_t*>(bytes + 1)), 5u);
  GuardedPage page;
  for (size_t length = 0; length < 20; ++length) {
    std::u16string text(length, u'w');
    EXPECT_EQ(WideTextLength(page.PlaceAtEnd(text.c_str(), length + 1)), length);
  }
}

TEST(CopyBytesTest, CountRule) {
  struct Case {
    const char* source;
    int32_t count;
    size_t copied;
  } cases[] = {
      {"abc", 0, 0},  {"", -1, 1},   {"abc", -1, 4}, {"abc", -2, 3},        {"abc", -3, 2},
      {"abc", -5, 0}, {"abc", 2, 2}, {"abc", 4, 4},  {"abc", INT32_MIN, 0}, {"abcdefghij", 7, 7},
  };
  for (const Case& c : cases) {
    char destination[16];
    std::memset(destination, '#', sizeof destination);
    char* end = CopyBytes(destination, c.source, c.count);
    EXPECT_EQ(end, destination + c.copied) << c.source << " " << c.count;
    EXPECT_EQ(std::memcmp(destination, c.source, c.copied), 0);
    EXPECT_EQ(destination[c.copied], '#') << "wrote past the count";
  }
}

TEST(CopyBytesTest, AppendsByStepingBackOverTheTerminator) {
  char message[32];
  char* end = CopyBytes(message, "File ", -1) - 1;
  end = CopyBytes(end, "a.txt", -1) - 1;
  CopyBytes(end, " missing", -1);
  EXPECT_STREQ(message, "File a.txt missing");
}

TEST(CompareTextsTest, DifferenceAndOffset) {
  struct Case {
    const char* a;
    const char* b;
    int32_t mode;
    int32_t difference;
    uint32_t offset;
  } cases[] = {
      {"abc", "abc", 0, 0, 3},
      {"abc", "abd", 0, -1, 2},
      {"ab", "abc", 0, -99, 2},
      {"abc", "ab", 0, 99, 2},
      {"", "", 0, 0, 0},
      {"", "a", 0, -97, 0},
      {"ABC", "abc", 0, -32, 0},
      {"ABC", "abc", 1, 0, 3},
      {"abc", "ABD", 1, 31, 2},  // from the stored bytes: c minus D
      {"ab", "ab ", 1, -32, 2},  // A's end faces a space: both would read as 32
      {"ab ", "ab", 1, 32, 2},
      {"@[", "`{", 1, 0, 2},  // every pair differing only in bit 5 is equal
      {"\xff", "\x01", 0, 254, 0},
      {"\x01", "\xff", 5, -254, 0},
      {"same until the 17th byte: x", "same until the 17th byte: y", 0, -1, 26},
  };
  for (const Case& c : cases) {
    TextComparison r = CompareTexts(c.a, c.b, c.mode);
    EXPECT_EQ(r.difference, c.difference) << c.a << " / " << c.b << " mode " << c.mode;
    EXPECT_EQ(r.offset, c.offset) << c.a << " / " << c.b << " mode " << c.mode;
  }
}

// Every pair of start alignments, differences and ends on both sides of block edges.
TEST(CompareTextsTest, EveryAlignmentPair) {
  for (size_t offsetA = 0; offsetA < 16; ++offsetA) {
    for (size_t offsetB = 0; offsetB < 16; ++offsetB) {
      Filled a, b;
      std::string base = "0123456789abcdefGHIJKLMNOPQRSTUVwxyz0123456789ABCDEF";
      for (size_t at : {0, 15, 16, 17, 31, 32, 33, 47}) {
        std::string other = base;
        other[at] = '!';
        TextComparison r = CompareTexts(a.Place(offsetA, base), b.Place(offsetB, other), 0);
        EXPECT_EQ(r.offset, at) << offsetA << " " << offsetB;
        EXPECT_EQ(r.difference, base[at] - '!');
        // Ignoring case: the same texts in the other case still differ only there.
        std::string upper = other;
        for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        r = CompareTexts(a.Place(offsetA, base), b.Place(offsetB, upper), 1);
        EXPECT_EQ(r.offset, at) << offsetA << " " << offsetB;
        // A prefix: the shorter text's end is the offset.
        r = CompareTexts(a.Place(offsetA, base), b.Place(offsetB, base.substr(0, at)), 0);
        EXPECT_EQ(r.offset, at);
        EXPECT_EQ(r.difference, static_cast<unsigned char>(base[at]));
      }
      TextComparison same = CompareTexts(a.Place(offsetA, base), b.Place(offsetB, base), 0);
      EXPECT_EQ(same.difference, 0);
      EXPECT_EQ(same.offset, base.size());
    }
  }
}

TEST(CompareTextsTest, NeverReadsThePageAfterEitherEnd) {
  GuardedPage pageA, pageB;
  for (size_t lengthA = 0; lengthA < 40; ++lengthA) {
    for (size_t lengthB : {lengthA, lengthA + 1, size_t{0}, size_t{17}}) {
      std::string a(lengthA, 'm'), b(lengthB, 'm');
      for (int mode : {0, 1}) {
        TextComparison r = CompareTexts(pageA.PlaceAtEnd(a.c_str(), lengthA + 1),
                                        pageB.PlaceAtEnd(b.c_str(), lengthB + 1), mode);
        EXPECT_EQ(r.offset, std::min(lengthA, lengthB));
      }
    }
  }
}

// The unaligned string's blocks are assembled byte by byte where they cross a page; the
// result must not change.
TEST(CompareTextsTest, TextsRunningAcrossAPageBoundary) {
  struct alignas(4096) Pages {
    char bytes[3 * 4096];
  };
  auto pages = std::make_unique<Pages>();
  std::string text(100, 'k');
  for (size_t before = 1; before < 40; before += 3) {
    for (size_t shift : {1, 5, 8, 15}) {
      std::memset(pages->bytes, 'q', sizeof pages->bytes);
      char* a = pages->bytes + 4096 - before;          // crosses the first boundary
      char* b = pages->bytes + 2 * 4096 + 64 + shift;  // well inside the last page
      std::memcpy(a, text.c_str(), text.size() + 1);
      std::memcpy(b, text.c_str(), text.size() + 1);
      b[70] = 'K';
      for (int mode : {0, 1}) {
        TextComparison r = CompareTexts(a, b, mode);
        EXPECT_EQ(r.offset, mode == 0 ? 70u : 100u) << before << " " << shift;
        EXPECT_EQ(r.difference, mode == 0 ? 32 : 0);
      }
    }
  }
}

// Long texts against a byte-by-byte model: stops anywhere in the long runs, texts ending at an
// inaccessible page, and texts crossing page boundaries at any alignment.
TEST(CompareTextsTest, LongTextsAgreeWithABytewiseModel) {
  struct alignas(4096) Pages {
    char bytes[3 * 4096];
  };
  auto pages = std::make_unique<Pages>();
  GuardedPage pageA, pageB;
  auto model = [](const char* a, const char* b, int mode) {
    for (uint32_t i = 0;; ++i) {
      uint8_t x = static_cast<uint8_t>(a[i]), y = static_cast<uint8_t>(b[i]);
      bool same = mode == 0 ? x == y : (x | 32) == (y | 32);
      if (!same || x == 0 || y == 0) return TextComparison{x - y, i};
    }
  };
  const std::string bytes =
      "abcXYZ @`[{\x7f\x80\xff"
      "019";
  std::mt19937 random(16);
  for (int round = 0; round < 6000; ++round) {
    size_t length = random() % 700;
    std::string a(length, ' ');
    for (char& ch : a) ch = bytes[random() % bytes.size()];
    std::string b = a;
    size_t at = length == 0 ? 0 : random() % length;
    switch (random() % 4) {
      case 0:
        b.resize(at);
        break;
      case 1:
        if (length != 0) b[at] = bytes[random() % bytes.size()];
        break;
      case 2:
        for (size_t i = at; i < b.size(); ++i) b[i] = static_cast<char>(b[i] ^ 32);
        break;
      default:
        break;
    }
    int mode = round & 1;
    const char *x, *y;
    if (round % 3 == 0) {
      x = pageA.PlaceAtEnd(a.c_str(), a.size() + 1);
      y = pageB.PlaceAtEnd(b.c_str(), b.size() + 1);
    } else {
      std::memset(pages->bytes, 'q', sizeof pages->bytes);
      char* first = pages->bytes + 4096 - random() % 800;
      char* second = pages->bytes + 2 * 4096 - random() % 800;
      std::memcpy(first, a.c_str(), a.size() + 1);
      std::memcpy(second, b.c_str(), b.size() + 1);
      x = first;
      y = second;
    }
    TextComparison expected = model(x, y, mode), r = CompareTexts(x, y, mode);
    ASSERT_EQ(r.offset, expected.offset) << "round " << round;
    ASSERT_EQ(r.difference, expected.difference) << "round " << round;
  }
}

}  // namespace
}  // namespace corvala
