#include <algorithm>
#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "platform/crt.h"
#include "platform/hooks.h"
#include "tests/strings/array_test_support.h"

namespace corvala {
namespace {

using testing::ArrayTest;
using testing::ExitsWith;
using Strings = std::vector<std::string>;

int Sign(int value) { return (value > 0) - (value < 0); }

struct StricmpCase {
  const char* a;
  const char* b;
  int sign;
};

void ExpectStricmp(const StricmpCase* cases, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const StricmpCase& c = cases[i];
    SCOPED_TRACE(::testing::Message() << c.a << " / " << c.b);
    EXPECT_EQ(Sign(platform::_stricmp(c.a, c.b)), c.sign);
    EXPECT_EQ(Sign(platform::_stricmp(c.b, c.a)), -c.sign);
  }
}

TEST(StricmpTest, FoldsOnlyTheAsciiLetters) {
  const StricmpCase cases[] = {
      {"abc", "ABC", 0}, {"", "", 0},   {"", "a", -1},  {"a", "", 1},
      {"ab", "ABC", -1}, {"B", "a", 1}, {"[", "a", -1}, {"[", "A", -1},
      {"_", "A", -1},    {"`", "@", 1}, {"{", "Z", 1},
  };
  ExpectStricmp(cases, std::size(cases));
}

#ifndef _WIN32
// Bytes from 128 on compare as unsigned values and never fold. (On Windows this is the
// system's own comparison; Wine's compares these bytes as signed values.)
TEST(StricmpTest, ComparesBytesAbove127Unsigned) {
  const StricmpCase cases[] = {{"\xC9", "\xE9", -1}, {"\xFF", "z", 1}, {"a\x80", "A", 1}};
  ExpectStricmp(cases, std::size(cases));
}
#endif

TEST_F(ArrayTest, SortArrayOrdersIgnoringCaseBothWays) {
  MakeArray(1, {"pear", "Apple", "banana"});
  SortArray(1, 0);
  EXPECT_EQ(Texts(1), (Strings{"Apple", "banana", "pear"}));
  SortArray(-1, 0);
  EXPECT_EQ(Texts(1), (Strings{"pear", "banana", "Apple"}));
  // Bytes between the two letter ranges sort where the lower-case letters put them.
  // Bytes from 128 on come after every ASCII byte and do not fold.
  MakeArray(2, {"b", "\xE9", "_", "A", "[", "", "ab", "a\xE9", "\xC9", "z"});
  SortArray(2, 0);
  EXPECT_EQ(Texts(2), (Strings{"", "[", "_", "A", "ab", "a\xE9", "b", "z", "\xC9", "\xE9"}));
}

TEST_F(ArrayTest, SortArrayMovesWholeRecords) {
  ArrayDescriptor* array = MakeArray(1, {"ccc", nullptr, "a", nullptr});
  array->elements()[1] = OwnedText("BB");
  const char* const owned = array->elements()[1].text;
  SortArray(1, 0);
  EXPECT_EQ(Texts(1), (Strings{"<unassigned>", "a", "BB", "ccc"}));
  EXPECT_EQ(array->elements()[0].length, 0);
  EXPECT_EQ(array->elements()[1].length, -1);
  EXPECT_EQ(array->elements()[2].text, owned);
  EXPECT_EQ(array->elements()[2].length, 2);
  EXPECT_EQ(array->elements()[3].length, -3);
  SortArray(-1, 0);
  EXPECT_EQ(Texts(1), (Strings{"ccc", "BB", "a", "<unassigned>"}));
}

TEST_F(ArrayTest, SortArraySortsOnlyThePrefixItIsGiven) {
  MakeArray(3, {"d", "c", "b", "a"});
  SortArray(3, 2);
  EXPECT_EQ(Texts(3), (Strings{"c", "d", "b", "a"}));
  SortArray(3, 4);
  EXPECT_EQ(Texts(3), (Strings{"a", "b", "c", "d"}));
}

// Many texts drawn from a small alphabet around the letter ranges, so that equal,
// equal-but-for-case and prefix texts are frequent, many behind a beginning of 8 or 12 letters
// a and b in either case (groups, large and small, that differ only after 8 bytes), and over
// 2000 behind 16 a's in either case (one large group equal in its first 16 bytes). Only what
// the order promises is
// checked: every neighbour pair is in the order of the system's _stricmp, and the same texts are
// there. (ASCII only: the order above 127 is pinned above.) Sorted beside the side array of
// keys, and in place where the heap has no room for it.
TEST_F(ArrayTest, SortArrayFollowsStricmpOnManyTexts) {
  const char kAlphabet[] = "aAbBzZ@[`{_09\x01\x7F";
  const int kBeginnings[] = {0, 0, 8, 8, 12, 16, 16, 16, 16};
  std::mt19937 random(7);
  std::vector<std::string> texts(5000);
  for (std::string& text : texts) {
    const int beginning = kBeginnings[random() % std::size(kBeginnings)];
    const uint32_t letters = beginning == 16 ? 2 : 4;  // a only, or a and b
    for (int i = 0; i < beginning; ++i) text += "aAbB"[random() % letters];
    const int length = static_cast<int>(random() % 5);
    for (int i = 0; i < length; ++i) text += kAlphabet[random() % (sizeof kAlphabet - 1)];
  }
  for (int run = 0; run < 4; ++run) {
    const bool descending = run % 2 != 0;
    const bool noRoom = run >= 2;
    SCOPED_TRACE(::testing::Message() << "descending " << descending << ", no room " << noRoom);
    ArrayDescriptor* array = DimArray(4, static_cast<int32_t>(texts.size()) - 1, 0);
    for (size_t i = 0; i < texts.size(); ++i) {
      array->elements()[i] = {texts[i].c_str(), -static_cast<int32_t>(texts[i].size())};
    }
    if (noRoom) platform::hooks::FailHeapAllocation(1);
    SortArray(descending ? -4 : 4, 0);
    platform::hooks::FailHeapAllocation(0);
    Strings sorted = Texts(4);
    for (size_t i = 1; i < sorted.size(); ++i) {
      const int order = platform::_stricmp(sorted[i - 1].c_str(), sorted[i].c_str());
      ASSERT_TRUE(descending ? order >= 0 : order <= 0) << sorted[i - 1] << " / " << sorted[i];
    }
    Strings expected = texts;
    std::sort(expected.begin(), expected.end());
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, expected);
  }
}

// 64 one-byte texts arranged so that every median of three in the largest part is its second
// smallest key: the partitions stop advancing, and a comparison sort must finish the part.
TEST_F(ArrayTest, SortArrayFinishesABadlyPartitionedPartByComparison) {
  const int kKeys[64] = {1,  0,  0,  3, 0,  0,  5,  0,  25, 7, 0,  0,  9,  0,  0,  11,
                         0,  29, 13, 0, 0,  15, 0,  0,  17, 0, 0,  19, 0,  0,  21, 0,
                         2,  23, 4,  0, 6,  0,  8,  27, 10, 0, 12, 0,  14, 31, 16, 0,
                         18, 0,  20, 0, 22, 0,  24, 0,  26, 0, 28, 0,  30, 0,  32, 0};
  Strings texts;
  int next = 33;  // the keys no median looked at, each above those that one did
  for (int key : kKeys)
    texts.push_back(std::string(1, static_cast<char>(0x60 + (key ? key : next++))));
  ArrayDescriptor* array = DimArray(4, 63, 0);
  for (size_t i = 0; i < texts.size(); ++i) array->elements()[i] = {texts[i].c_str(), -1};
  SortArray(4, 0);
  Strings expected = texts;
  std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
    return uint8_t(a[0]) < uint8_t(b[0]);
  });
  EXPECT_EQ(Texts(4), expected);
}

using SortDeathTest = ArrayTest;

TEST_F(SortDeathTest, SortArrayNeedsALiveArrayAndACountWithinIt) {
  EXPECT_EXIT(SortArray(9, 0), ExitsWith(-7), "Array erased or undefined");
  MakeArray(9, {"b", "a"});
  EXPECT_EXIT(SortArray(9, 3), ExitsWith(-6), "Count too high");
  EXPECT_EXIT(SortArray(-9, -1), ExitsWith(-6), "Count too high");
  EraseArray(9);
  EXPECT_EXIT(SortArray(-9, 0), ExitsWith(-7), "Array erased or undefined");
}

}  // namespace
}  // namespace corvala
