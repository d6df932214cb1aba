#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/strings.h"
#include "runtime/core/state.h"
#include "runtime/core/words.h"
#include "tests/support/runtime_test.h"
#include "tests/support/temp_dir.h"

namespace corvala {
namespace {

using DeferredTextTest = testing::RuntimeTest;

constexpr char kCanary = '#';

// Expands the current slot's deferred text into a buffer of exactly its length (plus canary
// bytes behind) and checks that exactly that many bytes are written.
std::string ExpandCurrent(uint32_t shortfall = 0) {
  const TempSlot* slot = SelectTempSlot(kSlotCurrent);
  EXPECT_TRUE(IsDeferredText(slot->text));
  uint32_t length = static_cast<uint32_t>(slot->length < 0 ? -slot->length : slot->length);
  std::vector<char> buffer(length + 8, kCanary);
  uint32_t written = ExpandDeferredText(slot->text, buffer.data(), length);
  EXPECT_EQ(written, length - shortfall);
  for (size_t i = written; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], kCanary) << i;
  return std::string(buffer.data(), written);
}

TEST_F(DeferredTextTest, SubstitutionCases) {
  constexpr uint32_t kOnce = 1u << kSubstituteLimitShift;
  struct Case {
    const char* text;
    const char* sought;
    const char* replacement;
    uint32_t control;
    const char* expected;
  };
  const Case cases[] = {
      {"abcb", "b", "x", 0, "axcx"},
      {"abcb", "b", "", 0, "ac"},
      {"abc", "b", "xyz", 0, "axyzc"},
      {"aaaa", "aa", "b", 0, "bb"},  // occurrences do not overlap
      {"aaaaa", "aa", "b", 0, "bba"},
      {"abcb", "b", "x", kOnce, "axcb"},
      {"ababab", "ab", "X", 2u << kSubstituteLimitShift, "XXab"},
      {"abcbc", "BC", "x", FindIgnoreCase, "axx"},
      {"abcb", "B", "x", FindIgnoreCase, "abcb"},  // one byte is sought exactly
      {"Abc abc", "abc", "x", FindFirstIgnoreCase, "x x"},
      {"cat concat cat5", "cat", "dog", FindWholeWord, "dog concat dog5"},
      {"abcb", "b", "x", FindReverse | FindWide, "axcx"},  // ignored for byte texts
      {"abc", "zz", "x", 0, "abc"},
      {"abc", "", "x", 0, "abc"},  // empty sought text: the source unchanged
      {"", "b", "x", 0, ""},
      {"bb", "b", "long", 0, "longlong"},
  };
  for (const Case& c : cases) {
    int32_t length = SubstituteText(c.text, c.sought, c.replacement, c.control);
    SCOPED_TRACE(std::string(c.text) + " / " + c.sought + " -> " + c.replacement);
    EXPECT_EQ(length, static_cast<int32_t>(std::string(c.expected).size()));
    EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, length);
    EXPECT_EQ(ExpandCurrent(), c.expected);
  }
}

// The scan walks 64-byte runs: occurrences far apart have whole runs without a candidate
// between them, whatever the text's alignment; the exact and the case-folding walks alike.
TEST_F(DeferredTextTest, SubstitutionAcrossManyRuns) {
  std::string text, expected;
  for (int i = 0; i < 3; ++i) {
    text += std::string(150, '.') + "ab";
    expected += std::string(150, '.') + "xyz";
  }
  for (const uint32_t flags : {0u, uint32_t{FindIgnoreCase}}) {
    SCOPED_TRACE(flags);
    EXPECT_EQ(SubstituteText(text.c_str(), flags == 0 ? "ab" : "AB", "xyz", flags),
              static_cast<int32_t>(expected.size()));
    EXPECT_EQ(ExpandCurrent(), expected);
  }
}

TEST_F(DeferredTextTest, SubstitutionDescriptorLayout) {
  using internal::LoadInt32;
  using internal::LoadWord;
  static const char kText[] = "abcb";
  static const char kX[] = "x";
  SubstituteText(kText, "b", kX, 0);
  const char* d = SelectTempSlot(kSlotCurrent)->text;
  const unsigned char marker[] = {0x84, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(std::memcmp(d, marker, 4), 0);
  EXPECT_EQ(LoadInt32(d + 4), -124);
  constexpr size_t W = sizeof(Word);
  EXPECT_EQ(LoadWord(d + 8), reinterpret_cast<Word>(kX));
  EXPECT_EQ(LoadInt32(d + 8 + W), 1);
  EXPECT_EQ(LoadWord(d + 12 + W), reinterpret_cast<Word>(kText));
  const Word expected[] = {reinterpret_cast<Word>(kText + 1), reinterpret_cast<Word>(kText + 3),
                           reinterpret_cast<Word>(kText + 4), 0};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(LoadWord(d + 12 + 2 * W + i * W), expected[i]) << i;
  // The next text starts right behind the closing 0.
  EXPECT_EQ(ScratchWritePosition(), d + 12 + 6 * W);
}

TEST_F(DeferredTextTest, TooManyOccurrencesForTheScratchAreaAreFatal) {
  std::string many(200000, 'a');
  EXPECT_EXIT(SubstituteText(many.c_str(), "a", "b", 0), testing::ExitsWith(-9),
              "Insufficient buffer or New");
}

// Once the write position has wrapped, older scratch texts lie ahead of it. A list that would
// reach the source before the scan is done ends the run instead of reading its own entries;
// a source beyond the list's reach is kept as it stood.
TEST_F(DeferredTextTest, ListStopsBeforeASourceAheadOfTheWritePosition) {
  char* scratch = internal::g_state.core.scratch;
  auto SourceAhead = [scratch](size_t offset) {
    std::memset(scratch + offset, 'a', 64);
    scratch[offset + 64] = '\0';
    internal::g_state.core.scratchWrite = scratch;  // as after a wrap
    return scratch + offset;
  };
  EXPECT_EXIT(SubstituteText(SourceAhead(256), "a", "b", 0), testing::ExitsWith(-9),
              "Insufficient buffer or New");
  EXPECT_EXIT(SubstituteText(SourceAhead(16), "x", "y", 0), testing::ExitsWith(-9),
              "Insufficient buffer or New");
  EXPECT_EQ(SubstituteText(SourceAhead(4096), "a", "bc", 0), 128);
  std::string expected;
  for (int i = 0; i < 64; ++i) expected += "bc";
  EXPECT_EQ(ExpandCurrent(), expected);
}

TEST_F(DeferredTextTest, ZeroBlocks) {
  const char* d = New$(5);
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->text, d);
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, 6);
  EXPECT_EQ(ExpandCurrent(1), std::string(5, '\0'));
  New$(1);
  EXPECT_EQ(ExpandCurrent(1), std::string(1, '\0'));
}

TEST_F(DeferredTextTest, ZeroBlockOfNoBytesOrNoRecordableLengthIsFatal) {
  EXPECT_EXIT(New$(0), testing::ExitsWith(-9), "Insufficient buffer or New");
  EXPECT_EXIT(New$(-3), testing::ExitsWith(-9), "Insufficient buffer or New");
  // The slot records n + 1, which would not fit.
  EXPECT_EXIT(New$(INT32_MAX), testing::ExitsWith(-9), "Insufficient buffer or New");
}

TEST_F(DeferredTextTest, ExpansionStopsAtTheCapacity) {
  SubstituteText("abcb", "b", "xyz", 0);
  char buffer[5] = {kCanary, kCanary, kCanary, kCanary, kCanary};
  EXPECT_EQ(ExpandDeferredText(SelectTempSlot(kSlotCurrent)->text, buffer, 4), 4u);
  EXPECT_EQ(std::string(buffer, 5), "axyz#");
}

TEST_F(DeferredTextTest, OnlyScratchTextsMarkedAsDeferredAreDeferred) {
  static const char kLookalike[] = "\x84\xFF\xFF\xFF\x84\xFF\xFF\xFF";
  EXPECT_FALSE(IsDeferredText(kLookalike));
  EXPECT_FALSE(IsDeferredText(TrimText("plain", 0)));
  EXPECT_TRUE(IsDeferredText(New$(3)));
}

TEST_F(DeferredTextTest, FileThatShrankLeavesZerosNotStaleBytes) {
  testing::TempDir dir;
  std::string name = dir.Write("data.bin", "12345");
  FileRead$(name.c_str());
  dir.Write("data.bin", "12");
  EXPECT_EQ(ExpandCurrent(), std::string("12\0\0\0", 5));
  EXPECT_EQ(FileTable()[10], 0u);

  dir.Write("data.bin", "12345");
  FileRead$(name.c_str());
  std::filesystem::remove(name);
  EXPECT_EQ(ExpandCurrent(), std::string(5, '\0'));
}

}  // namespace
}  // namespace corvala
