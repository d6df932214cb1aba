#include <cstring>
#include <string>
#include <vector>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "tests/strings/guarded_page.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::GuardedPage;

class FindTextTest : public testing::RuntimeTest {};

struct Search {
  const char* text;
  const char* pattern;
  int32_t start;
  uint32_t flags;
  int32_t position;
};

void ExpectSearches(const std::vector<Search>& searches) {
  for (const Search& s : searches) {
    FoundText found = FindText(s.start, s.text, s.pattern, s.flags);
    SCOPED_TRACE(::testing::Message() << '"' << s.text << "\" / \"" << s.pattern << "\" start "
                                      << s.start << " flags " << s.flags);
    EXPECT_EQ(found.position, s.position);
    EXPECT_EQ(found.address, s.position != 0 ? s.text + s.position - 1 : nullptr);
    EXPECT_EQ(LastFoundPosition, s.position);
  }
}

TEST_F(FindTextTest, ForwardBackwardAndCase) {
  ExpectSearches({
      {"hello world", "wor", 1, 0, 7},
      {"hello world", "wor", -1, FindReverse, 7},
      {"hello world", "wor", 8, 0, 0},
      {"hello world", "hello world!", 1, 0, 0},
      {"abcabc", "bc", 7, 0, 0},            // just behind the last byte
      {"abcabc", "bc", 7, FindReverse, 5},  // the match's first two bytes lie before it
      {"abcabc", "bc", 6, FindReverse, 2},
      {"abcabc", "c", 6, FindReverse, 3},  // one byte: before the start
      {"abcabc", "bca", 2, FindReverse, 0},
      {"say HELLO", "Hello", 1, FindIgnoreCase, 5},
      {"say HELLO", "Hello", -1, FindIgnoreCase | FindReverse, 5},
      {"Hello", "hello", 1, FindFirstIgnoreCase, 1},
      {"Hello", "hELLO", 1, FindFirstIgnoreCase, 0},
      {"HELLO", "hello", 1, FindIgnoreCase | FindFirstIgnoreCase, 1},
      {"HELLO", "h", 1, FindIgnoreCase, 0},  // one byte: exact whatever the flags
      {"HELLO", "h", -1, FindIgnoreCase | FindReverse, 0},
      {"xab", "ab ", 1, FindIgnoreCase, 0},  // the terminator does not match a space
      {"a", "a ", 1, FindIgnoreCase, 0},
      {"XAB`", "ab@", 1, FindIgnoreCase, 2},  // bytes differing only in bit 5 match
      {"abc", "", 1, 0, 0},                   // an empty pattern is a miss
      {"", "a", 1, 0, 0},
      {"", "ab", -1, FindReverse, 0},
      {"abab", "ab", 1, 0x100 | 8 | 16 | 32, 1},  // unknown bits are ignored
  });
}

TEST_F(FindTextTest, WholeWords) {
  ExpectSearches({
      {"concat", "cat", 1, FindWholeWord, 0},
      {"cat, dog", "cat", 1, FindWholeWord, 1},
      {"cat5", "cat", 1, FindWholeWord, 1},   // a digit is a boundary
      {"cat_x", "cat", 1, FindWholeWord, 0},  // so is not the underscore
      {"[cat]", "cat", 1, FindWholeWord, 0},  // nor the square brackets
      {"(cat)", "cat", 1, FindWholeWord, 2},
      {"concat cat", "cat", 1, FindWholeWord, 8},
      {"cat\xe9", "cat", 1, FindWholeWord, 0},  // bytes from 128 up are word bytes
      {"a cathedral", " cat", 1, FindWholeWord, 2},
      {"x\xe9tude", "\xe9t", 1, FindWholeWord, 2},
      {"xcatx cat", "CAT", -1, FindWholeWord | FindIgnoreCase | FindReverse, 7},
      {"xcatx", "cat", -1, FindWholeWord | FindReverse, 0},
      {"xa", "a", 1, FindWholeWord, 2},  // not for one byte
  });
}

// Candidates on both sides of every block edge and in the runs of blocks scanned at once,
// from every alignment of the text and start.
TEST_F(FindTextTest, ForwardAcrossBlockEdges) {
  alignas(64) char buffer[384];
  for (size_t offset = 0; offset < 16; ++offset) {
    for (size_t at = 0; at < 280; ++at) {
      std::memset(buffer, 0, sizeof buffer);  // zeros before the text do not end it
      char* text = buffer + offset;
      std::memset(text, 'a', 300);
      text[300] = '\0';
      std::memcpy(text + at, "Bcd", 3);
      const int32_t position = static_cast<int32_t>(at) + 1;
      for (int32_t start : {1, 2, 15, 16, 17, 64, 65}) {
        int32_t expected = position >= start ? position : 0;
        EXPECT_EQ(FindText(start, text, "bcd", FindFirstIgnoreCase).position, expected)
            << offset << " " << at << " " << start;
        EXPECT_EQ(FindText(start, text, "B", 0).position, expected);
      }
      EXPECT_EQ(FindText(-1, text, "bCD", FindIgnoreCase | FindReverse).position, position);
    }
    // The terminator in every place of a block or run: a match right before it is found,
    // half a match is not.
    for (size_t length = 2; length < 200; ++length) {
      std::memset(buffer, 'x', sizeof buffer);
      char* text = buffer + offset;
      std::memset(text, 'a', length);
      text[length] = '\0';
      std::memcpy(text + length - 2, "bc", 2);
      EXPECT_EQ(FindText(1, text, "bc", 0).position, static_cast<int32_t>(length) - 1);
      EXPECT_EQ(FindText(1, text, "bcx", 0).position, 0) << offset << " " << length;
      EXPECT_EQ(FindText(1, text, "c", 0).position, static_cast<int32_t>(length));
    }
  }
}

TEST_F(FindTextTest, ContinuedSearches) {
  struct Step {
    int32_t start;
    int32_t position;
  };
  struct Case {
    const char* text;
    const char* pattern;
    uint32_t flags;
    std::vector<Step> steps;
  } cases[] = {
      {"abcabc", "bc", 0, {{1, 2}, {0, 5}, {0, 0}, {0, 2}}},  // after a miss: from the start
      {"abcabc", "bc", FindReverse, {{-1, 5}, {0, 2}, {0, 0}, {0, 0}}},
      {"abcabc", "c", FindReverse, {{-1, 6}, {0, 3}, {0, 0}, {0, 0}}},
      {"abcabc", "c", 0, {{1, 3}, {0, 6}, {0, 0}}},
      {"abcabc", "c", FindIgnoreCase, {{-1, 3}, {0, 6}, {0, 0}}},
      {"abcabcabc", "c", 0, {{4, 6}, {0, 9}, {0, 0}}},  // reaches the end from any start
      {"aaaa", "aa", 0, {{1, 1}, {0, 2}, {0, 3}, {0, 0}}},
  };
  for (const Case& c : cases) {
    for (const Step& step : c.steps) {
      EXPECT_EQ(FindText(step.start, c.text, c.pattern, c.flags).position, step.position)
          << c.text << " / " << c.pattern << " flags " << c.flags;
    }
  }
}

// A continued search goes on to the length the first search saw; a text cut short since then
// ends it at its new terminator, not at bytes past it.
TEST_F(FindTextTest, ContinuedSearchStopsAtATextCutShortMeanwhile) {
  char text[] = "abcabcabcabcabcabcabcabcabcabcabc";
  EXPECT_EQ(FindText(1, text, "c", 0).position, 3);
  text[4] = '\0';
  EXPECT_EQ(FindText(0, text, "c", 0).position, 0);
}

TEST_F(FindTextTest, NeverReadsThePageAfterTheText) {
  GuardedPage page;
  for (size_t length = 0; length < 40; ++length) {
    std::string text(length, 'q');
    const char* placed = page.PlaceAtEnd(text.c_str(), length + 1);
    EXPECT_EQ(FindText(1, placed, "qz", 0).position, 0);
    EXPECT_EQ(FindText(1, placed, "QQQQQZ", FindIgnoreCase | FindWholeWord).position, 0);
    EXPECT_EQ(FindText(1, placed, "z", 0).position, 0);
    EXPECT_EQ(FindText(0, placed, "z", 0).position, 0);
    std::u16string wide(length, u'q');
    EXPECT_EQ(FindText(1, page.PlaceAtEnd(wide.c_str(), length + 1), u"qz", FindWide).position, 0);
  }
}

// Puts a text in the scratch area and makes it the result in the next slot.
void ProduceResult(const char* text) {
  char* at = ScratchWritePosition();
  std::memcpy(at, text, std::strlen(text) + 1);
  CommitScratchText(at + std::strlen(text), kSlotAdvance);
}

TEST_F(FindTextTest, SlotReferences) {
  ProduceResult("the quick brown fox");
  ProduceResult("brown");
  int32_t ring = TempSlotIndex();
  // Both references: the previous slot is the text, the current one the pattern.
  EXPECT_EQ(FindText(1, 127, 0, 0).position, 11);
  EXPECT_EQ(TempSlotIndex(), ring - 1) << "the ring steps back";
  // One reference: the current slot's text, whichever argument it stands for.
  EXPECT_EQ(FindText(1, 127, "quick", 0).position, 5);
  EXPECT_EQ(FindText(1, "a quick one", 5, 0).position, 0);
  ProduceResult("quick");
  FoundText found = FindText(1, "a quick one", 127, 0);
  EXPECT_EQ(found.position, 3);
}

TEST_F(FindTextTest, SlotWithoutTextIsAMiss) {
  EXPECT_EQ(FindText(1, 127, "a", 0).position, 0);
  EXPECT_EQ(FindText(1, 127, 127, FindWide).position, 0);
}

TEST_F(FindTextTest, Wide) {
  struct Case {
    const char16_t* text;
    const char16_t* pattern;
    int32_t start;
    uint32_t flags;
    int32_t position;
  } cases[] = {
      {u"Grüße aus KÖLN", u"köln", 1, FindIgnoreCase, 11},
      {u"Grüße aus KÖLN", u"köln", 1, 0, 0},
      {u"Grüße aus KÖLN", u"GRÜSSE", 1, FindIgnoreCase, 0},  // no expansion: unit by unit
      {u"ÉCOLE école", u"école", 1, 0, 7},
      {u"ÉCOLE école", u"École", 2, FindIgnoreCase, 7},
      {u"ÉCOLE école", u"école", -1, FindIgnoreCase | FindReverse, 7},
      {u"ÉCOLE école", u"école", 7, FindIgnoreCase | FindReverse, 1},
      {u"ΣΊΣΥΦΟΣ", u"σίσυφος", 1, FindIgnoreCase, 1},
      {u"concat", u"cat", 1, FindWholeWord, 4},  // only FindIgnoreCase applies to wide texts
      {u"Hello", u"h", 1, FindIgnoreCase, 1},    // nor is a single unit sought exactly
      {u"abc", u"", 1, 0, 0},
      {u"abc", u"bc", -1, 0, 2},
  };
  for (const Case& c : cases) {
    FoundText found = FindText(c.start, c.text, c.pattern, c.flags | FindWide);
    EXPECT_EQ(found.position, c.position) << "case " << (&c - cases);
    EXPECT_EQ(found.address,
              c.position != 0 ? reinterpret_cast<const char*>(c.text + c.position - 1) : nullptr);
  }
  const char16_t* text = u"ab AB ab";
  const int32_t forward[] = {1, 4, 7, 0};
  EXPECT_EQ(FindText(1, text, u"Ab", FindWide | FindIgnoreCase).position, forward[0]);
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(FindText(0, text, u"Ab", FindWide | FindIgnoreCase).position, forward[i]);
  }
  EXPECT_EQ(FindText(-1, text, u"ab", FindWide | FindReverse).position, 7);
  EXPECT_EQ(FindText(0, text, u"ab", FindWide | FindReverse).position, 1);
  EXPECT_EQ(FindText(0, text, u"ab", FindWide | FindReverse).position, 0);
  EXPECT_EQ(FindText(0, text, u"ab", FindWide | FindReverse).position, 0);
}

// The case-folded copies hold 3,199 units; an exact search is not limited by them.
TEST_F(FindTextTest, WidePatternsLongerThanTheFoldBuffers) {
  std::u16string text = std::u16string(5000, u'a') + u'b';
  std::u16string pattern = std::u16string(4000, u'a') + u'b';
  EXPECT_EQ(FindText(1, text.c_str(), pattern.c_str(), FindWide).position, 1001);
  // Ignoring case, only the first 3,199 units take part.
  std::u16string upper = std::u16string(4000, u'A') + u'C';
  EXPECT_EQ(FindText(1, text.c_str(), upper.c_str(), FindWide | FindIgnoreCase).position, 1);
}

}  // namespace
}  // namespace corvala
