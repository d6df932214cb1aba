#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/strings.h"
#include "platform/process.h"
#include "platform/window.h"
#include "runtime/core/state.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kTrackedResult = kBuildAssign | kBuildTracked;

class BuildTextTest : public testing::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    dir_ = fs::temp_directory_path() / ("corvala_builder_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    CloseFile(kCloseAllFiles);
    EraseArray(kEraseAllArrays);
    ReleaseTrackedBlock(kReleaseAllTracked);
    fs::remove_all(dir_);
    RuntimeTest::TearDown();
  }
  std::string Path(const char* name) { return (dir_ / name).string(); }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static void Write(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
  }
  // A function result that the next build takes as a 127 piece.
  static void MakeResult(const char* text) {
    TempSlot* slot = SelectTempSlot(kSlotAdvance);
    slot->text = text;
    slot->length = static_cast<int32_t>(std::strlen(text));
  }
  // Builds into a new tracked heap string and returns its text and the two bytes after it.
  static std::string BuildTracked(std::initializer_list<TextArg> pieces, size_t* length) {
    std::vector<TextArg> all(pieces);
    all.push_back(0);  // no old block
    std::vector<Word> words;
    for (const TextArg& piece : all) words.push_back(piece.word());
    uint32_t control = kTrackedResult | static_cast<uint32_t>(pieces.size());
    const char* text = reinterpret_cast<const char*>(BuildText(control, words.data()));
    *length = std::strlen(text);
    return std::string(text, *length + 2);
  }

  // One-letter results "a", "b", ... made from n different texts, as n function calls leave
  // them in the ring.
  static void MakeLetterResults(int n) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz";
    for (int i = 0; i < n; ++i) SliceText(kLetters + i, 1, 1);
  }
  // Builds from n 127 pieces (with kTrackedResult, then no old block).
  static const char* BuildFromResults(uint32_t control, int n) {
    std::vector<Word> words(static_cast<size_t>(n), kCurrentSlot);
    words.push_back(0);
    return reinterpret_cast<const char*>(
        BuildText(control | static_cast<uint32_t>(n), words.data()));
  }

  fs::path dir_;
};

using BuildTextDeathTest = BuildTextTest;

TEST_F(BuildTextTest, JoinsAddressTableIdAndResultInOrderWithTwoZeroBytes) {
  MakeResult("result");
  size_t length;
  EXPECT_EQ(BuildTracked({"text", 1, 127}, &length), std::string("text\r\nresult\0\0", 14));
}

TEST_F(BuildTextTest, ResultPiecesComeInTheOrderTheirFunctionsRan) {
  MakeResult("first");
  MakeResult("second");
  size_t length;
  EXPECT_EQ(BuildTracked({127, "-", 127}, &length).substr(0, length), "first-second");
}

TEST_F(BuildTextTest, TableIdsWithoutTextAndPastTheTableAreEmpty) {
  size_t length;
  EXPECT_EQ(BuildTracked({"a", 0, 8, 9, 60, 119, 120, 126, "b"}, &length).substr(0, length), "ab");
}

TEST_F(BuildTextTest, ExpandsDeferredPiecesInPlace) {
  Write(Path("five.txt"), "12345");
  Write(Path("empty.txt"), "");
  const std::string five = Path("five.txt"), empty = Path("empty.txt");
  size_t length;
  FileRead$(five.c_str());
  EXPECT_EQ(BuildTracked({"<", 127, ">"}, &length).substr(0, length), "<12345>");
  FileRead$(empty.c_str());
  EXPECT_EQ(BuildTracked({"<", 127, ">"}, &length).substr(0, length), "<>");
  EXPECT_EQ(FileTable()[10], 0u);
  New$(3);  // three zero bytes, recorded as four: the fourth is a zero byte too
  const char* zeros = reinterpret_cast<const char*>(BuildText(kTrackedResult, {"<", 127, ">", 0}));
  EXPECT_EQ(std::string(zeros, 8), std::string("<\0\0\0\0>\0\0", 8));
}

TEST_F(BuildTextTest, OutputResultLandsInTheScratchAreaAndRecordsItsLength) {
  OpenOutput(1, Path("out.txt").c_str(), 'O');
  const char* text = reinterpret_cast<const char*>(BuildText(BuildToFile(1), {"abc", "de"}));
  TempSlot* slot = SelectTempSlot(kSlotCurrent);
  EXPECT_EQ(slot->text, text);
  EXPECT_EQ(slot->length, 5);
  EXPECT_GE(text, internal::g_state.core.scratch);
  EXPECT_LT(text, internal::g_state.core.scratch + internal::kScratchLimit);
  // A deferred piece is expanded into the result's room in the scratch area too.
  New$(2);  // two zero bytes, recorded as three
  BuildText(BuildToFile(1), {"<", 127, ">"});
  CloseFile(1);
  EXPECT_EQ(Contents(Path("out.txt")), std::string("abcde<\0\0\0>", 10));
}

TEST_F(BuildTextTest, TextTooLargeForTheScratchAreaIsBuiltOnTheHeap) {
  std::string big(700000, 'x');
  OpenOutput(1, Path("big.txt").c_str(), 'O');
  char* before = ScratchWritePosition();
  int32_t allocations = AllocationCount, releases = ReleaseCount;
  EXPECT_EQ(BuildText(BuildToFile(1), {big.c_str(), "!"}), 0u);
  EXPECT_EQ(ScratchWritePosition(), before);
  EXPECT_EQ(AllocationCount - allocations, 1);
  EXPECT_EQ(ReleaseCount - releases, 1);
  CloseFile(1);
  EXPECT_EQ(Contents(Path("big.txt")), big + "!");
}

// A scratch text of n bytes of fill committed at offset, as an operation leaves it.
const char* CommitAt(size_t offset, char fill, size_t n) {
  char* text = internal::g_state.core.scratch + offset;
  internal::g_state.core.scratchWrite = text;
  std::memset(text, fill, n);
  text[n] = '\0';
  return CommitScratchText(text + n, kSlotAdvance).text;
}

// After the write position wraps, the older texts A and B lie just ahead of it; a result
// room reserved there covers them. Each piece must still read as it stood.
TEST_F(BuildTextTest, ResultRoomOverOlderScratchTextsKeepsEveryPiece) {
  const std::string x(466996, 'x');
  const std::string a(5000, 'A'), b(10000, 'B');
  const std::string path = Path("named.txt");
  Write(path, "named");
  // Each case leaves A and B at the ring's end (B ends there: the write position wraps) and
  // makes the destination slot just before its result pieces.
  using Destination = std::function<void()>;
  struct Case {
    const char* name;
    std::function<std::vector<TextArg>(const Destination&)> pieces;
    std::string expected;
  } cases[] = {
      {"A and B as results",
       [&](const Destination& destination) {
         destination();
         CommitAt(464996, 'A', 5000);
         CommitAt(470000, 'B', 10000);
         return std::vector<TextArg>{x.c_str(), 127, 127};
       },
       x + a + b},
      {"a substitution whose source is A",
       [&](const Destination& destination) {
         const char* source = CommitAt(464996, 'A', 5000);
         CommitAt(470000, 'B', 10000);
         destination();
         SubstituteText(source, "AAAA", "a", 100u << kSubstituteLimitShift);  // the first 100
         return std::vector<TextArg>{x.c_str(), 127};
       },
       x + std::string(100, 'a') + a.substr(400)},
      {"FileRead$ of a name in the covered area",
       [&](const Destination& destination) {
         char* name = const_cast<char*>(CommitAt(464996, 'n', path.size()));
         std::memcpy(name, path.c_str(), path.size());
         CommitAt(470000, 'B', 10000);
         destination();
         FileRead$(name);
         return std::vector<TextArg>{x.c_str(), 127};
       },
       x + "named"},
  };
  for (const Case& c : cases) {
    for (uint32_t target : {BuildToFile(1), kTargetBuffer}) {
      SCOPED_TRACE(std::string(c.name) + (target == kTargetBuffer ? ", buffer" : ", file"));
      std::vector<char> buffer(c.expected.size() + 1, '.');
      OpenOutput(1, Path("out.txt").c_str(), 'O');
      std::vector<TextArg> pieces = c.pieces([&] {
        if (target == kTargetBuffer) TargetBuffer(buffer.data(), c.expected.size());
      });
      std::vector<Word> words;
      for (const TextArg& piece : pieces) words.push_back(piece.word());
      const char* result = reinterpret_cast<const char*>(
          BuildText(target | static_cast<uint32_t>(words.size()), words.data()));
      CloseFile(1);
      EXPECT_EQ(SelectTempSlot(kSlotCurrent)->text, result);
      EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, static_cast<int32_t>(c.expected.size()));
      EXPECT_TRUE(std::string(result, c.expected.size()) == c.expected);
      EXPECT_EQ(result[c.expected.size()], '\0');
      if (target == kTargetBuffer) {
        EXPECT_TRUE(std::string(buffer.data(), c.expected.size()) == c.expected);
      } else {
        EXPECT_TRUE(Contents(Path("out.txt")) == c.expected);
      }
    }
  }
}

TEST_F(BuildTextTest, FixedBufferReceivesAtMostItsCapacity) {
  struct Case {
    const char* text;
    std::string buffer;
  } cases[] = {{"0123456789", "0123......"}, {"ab", "ab........"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    char buffer[11] = "..........";
    TargetBuffer(buffer, 4);
    BuildText(kTargetBuffer, {c.text});
    EXPECT_EQ(std::string(buffer), c.buffer);
  }
}

// The ring holds 15 results; a destination slot takes the place of one. With 14 results
// beside it, the slot of the built text is the destination's own.
TEST_F(BuildTextTest, AsManyResultsAsTheRingHoldsReachEveryTarget) {
  char buffer[33] = {};
  TargetBuffer(buffer, 32);
  MakeLetterResults(14);
  EXPECT_STREQ(BuildFromResults(kTargetBuffer, 14), "abcdefghijklmn");
  EXPECT_STREQ(buffer, "abcdefghijklmn");

  DimArray(1, 0, 0);
  ElementText(1, 0);
  MakeLetterResults(14);
  BuildFromResults(kBuildAssign, 14);
  EXPECT_STREQ(ElementText(1, 0).text, "abcdefghijklmn");

  MakeLetterResults(15);
  EXPECT_STREQ(BuildFromResults(kTrackedResult, 15), "abcdefghijklmno");
  OpenOutput(1, Path("results.txt").c_str(), 'O');
  MakeLetterResults(15);
  BuildFromResults(BuildToFile(1), 15);
  CloseFile(1);
  EXPECT_EQ(Contents(Path("results.txt")), "abcdefghijklmno");
}

TEST_F(BuildTextDeathTest, OneResultMoreThanTheRingHoldsEndsTheRun) {
  char buffer[33] = {};
  TargetBuffer(buffer, 32);
  MakeLetterResults(15);
  EXPECT_EXIT(BuildFromResults(kTargetBuffer, 15), testing::ExitsWith(-3), "String table overflow");
  DimArray(1, 0, 0);
  ElementText(1, 0);
  MakeLetterResults(15);
  EXPECT_EXIT(BuildFromResults(kBuildAssign, 15), testing::ExitsWith(-3), "String table overflow");
  MakeLetterResults(16);
  EXPECT_EXIT(BuildFromResults(kTrackedResult, 16), testing::ExitsWith(-3),
              "String table overflow");
  EXPECT_EXIT(BuildFromResults(0, 16), testing::ExitsWith(-3), "String table overflow");
}

// Once the ring has come back to the slot of an element read with a result of another kind,
// that slot names no element: an assignment there would write into whatever the record was.
TEST_F(BuildTextDeathTest, AssignmentToASlotNoLongerShowingAnElementEndsTheRun) {
  DimArray(1, 0, 0);
  ElementText(1, 0);
  EraseArray(1);
  MakeLetterResults(15);  // the last one lands on the element's slot
  EXPECT_EXIT(BuildText(kBuildAssign, {"x"}), testing::ExitsWith(-7), "Array erased");
}

TEST_F(BuildTextTest, FileTargetWritesWriteByteCountBytesAndResetsIt) {
  OpenOutput(1, Path("data.bin").c_str(), 'O');
  static const char data[] = "ab\0cde";
  WriteByteCount = 6;
  BuildText(BuildToFile(1), {data});
  EXPECT_EQ(WriteByteCount, 0);
  CloseFile(1);
  EXPECT_EQ(Contents(Path("data.bin")), std::string("ab\0cde", 6));
}

TEST_F(BuildTextTest, WideFileOutputWritesTwoBytesACharacterAndNoTerminator) {
  OpenOutput(2, Path("wide.txt").c_str(), 'O');
  BuildText(BuildToFile(2) | kBuildWide, {u"h\u00e9", u"!"});
  CloseFile(2);
  EXPECT_EQ(Contents(Path("wide.txt")), std::string("h\0\xe9\0!\0", 6));
}

TEST_F(BuildTextTest, WriteToAFreeFileNumberIsReported) {
  BuildText(BuildToFile(3), {"lost"});
  ASSERT_EQ(platform::hooks::ShownBoxes().size(), 1u);
  EXPECT_STREQ(platform::hooks::ShownBoxes()[0].caption, "GetLastError:\r\n#");
}

// The file field holds 4 bits, so it can name numbers past the last one; those write nowhere.
TEST_F(BuildTextTest, WriteToANumberPastTheLastIsReported) {
  BuildText(BuildToFile(kFileNumbers), {"lost"});
  BuildText(BuildToFile(14), {"lost"});
  ASSERT_EQ(platform::hooks::ShownBoxes().size(), 2u);
  EXPECT_STREQ(platform::hooks::ShownBoxes()[1].caption, "GetLastError:\r\n#");
}

TEST_F(BuildTextTest, PiecesPastTheTwentyNinthAreLeftOut) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz01234";
  char singles[31][2] = {};
  std::vector<Word> words;
  for (int i = 0; i < 31; ++i) {
    singles[i][0] = kLetters[i];
    words.push_back(reinterpret_cast<Word>(singles[i]));
  }
  OpenOutput(1, Path("raw.txt").c_str(), 'O');
  BuildText(BuildToFile(1) | 31u, words.data());
  CloseFile(1);
  EXPECT_EQ(Contents(Path("raw.txt")), "abcdefghijklmnopqrstuvwxyz012");

  OpenOutput(2, Path("list.txt").c_str(), 'O');
  BuildText(BuildToFile(2),
            {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p",
             "q", "r", "s", "t", "u", "v", "w", "x", "y", "z", "0", "1", "2", "3", "4"});
  CloseFile(2);
  EXPECT_EQ(Contents(Path("list.txt")), "abcdefghijklmnopqrstuvwxyz012");
}

TEST_F(BuildTextTest, AssignmentFreesTheOldTextOnlyAfterTheNewOneIsBuilt) {
  DimArray(1, 3, 0);
  // An element without a heap text of its own frees nothing.
  ElementText(1, 0);
  int32_t releases = ReleaseCount;
  BuildText(kBuildAssign, {"old"});
  EXPECT_EQ(ReleaseCount, releases);
  TextRecord element = ElementText(1, 0);
  EXPECT_EQ(std::string(element.text), "old");
  EXPECT_EQ(element.length, 3);

  // The old text is one of the pieces: it is read before it is freed.
  ElementText(1, 0);  // destination
  ElementText(1, 0);  // piece
  BuildText(kBuildAssign, {127, "+new"});
  EXPECT_EQ(ReleaseCount, releases + 1);
  element = ElementText(1, 0);
  EXPECT_EQ(std::string(element.text), "old+new");
  EXPECT_EQ(element.length, 7);
}

// An empty result owns no block (an element of length 0 could never free it): the element
// reads as the empty text, and an old heap text is still freed.
TEST_F(BuildTextTest, AssigningAnEmptyTextTakesNoBlock) {
  DimArray(1, 1, 0);
  ElementText(1, 0);
  BuildText(kBuildAssign, {"old"});
  const int32_t allocations = AllocationCount;
  const int32_t releases = ReleaseCount;
  ElementText(1, 0);
  EXPECT_EQ(BuildText(kBuildAssign, {"", EmptyText}), reinterpret_cast<Word>(EmptyText));
  EXPECT_EQ(AllocationCount, allocations);
  EXPECT_EQ(ReleaseCount, releases + 1);
  TextRecord element = ElementText(1, 0);
  EXPECT_EQ(element.text, EmptyText);
  EXPECT_EQ(element.length, 0);
}

TEST_F(BuildTextTest, AssignsToACallersStringVariable) {
  ElementRecord name{};
  TargetVariable(name);
  MakeResult("Ada");
  BuildText(kBuildAssign, {"Name: ", 127});
  EXPECT_STREQ(name.text, "Name: Ada");
  EXPECT_EQ(name.length, 9);
  TargetVariable(name);
  BuildText(kBuildAssign, {"x"});
  EXPECT_STREQ(name.text, "x");
  CountedFree(const_cast<char*>(name.text));
}

TEST_F(BuildTextTest, TrackedResultReleasesTheOldBlock) {
  size_t length;
  BuildTracked({"one"}, &length);
  const char* first = reinterpret_cast<const char*>(BuildText(kTrackedResult, {"two", 0}));
  int32_t releases = ReleaseCount;
  const char* second = reinterpret_cast<const char*>(BuildText(kTrackedResult, {"three", first}));
  EXPECT_STREQ(second, "three");
  EXPECT_EQ(ReleaseCount, releases + 1);
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return platform::DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(BuildTextTest, WindowTargetsSetOutputWindowsText) {
  HINSTANCE instance = platform::GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = PlainWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "BuildTextTest";
  platform::RegisterClassExA(&windowClass);
  HWND window = platform::CreateWindowExA(0, "BuildTextTest", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                          nullptr, instance, nullptr);
  if (window == nullptr) GTEST_SKIP() << "no window system to create a window in";
  OutputWindow = reinterpret_cast<Word>(window);
  MakeResult("42");
  BuildText(kTargetWindow, {"Total: ", 127});
  char text[32] = {};
  platform::GetWindowTextA(window, text, sizeof text);
  EXPECT_STREQ(text, "Total: 42");
  BuildText(kTargetWindowWide, {u"Wide ", u"text"});
  platform::GetWindowTextA(window, text, sizeof text);
  EXPECT_STREQ(text, "Wide text");
  EXPECT_TRUE(platform::hooks::ShownBoxes().empty());
  platform::DestroyWindow(window);
}

TEST_F(BuildTextTest, WindowTargetFailureIsReported) {
  OutputWindow = 0;
  BuildText(kTargetWindow, {"caption"});
  EXPECT_EQ(platform::hooks::ShownBoxes().size(), 1u);
}

}  // namespace
}  // namespace corvala
