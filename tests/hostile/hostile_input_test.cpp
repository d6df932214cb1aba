// Hostile inputs at the entry points: each gets its documented result or its fatal message
// and nothing else, never an access out of bounds. File names of 0, 259, 260 and 4,000
// bytes and with characters no file name may hold, texts that end at an unreadable page,
// unreadable detail texts, fields longer than the field buffer, numbers of 10,000 digits,
// array and file numbers out of range, and counts of -2^31 and 2^31 - 1.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/numbers.h"
#include "corvala/strings.h"
#include "tests/strings/guarded_page.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::ExitsWith;

constexpr const char* kPresent = "hostile-present.txt";
constexpr const char* kFields = "hostile-fields.tsv";
constexpr const char* kOutput = "hostile-out.txt";

// The one permitted end of a fatal case: its box, and nothing else on standard error.
std::string OnlyTheBox(const std::string& message) {
  std::string pattern = "^Fatal error:\\s+";
  for (char c : message) {
    if (c == '\n') {
      pattern += "\\s+";
      continue;
    }
    if (std::strchr("^$.*+?()[]{}|\\", c) != nullptr) pattern += '\\';
    pattern += c;
  }
  return pattern + "\\s*$";
}

// A small number where a name's address belongs.
const char* SmallName(uintptr_t number) { return reinterpret_cast<const char*>(number); }

// The detail text of a box is cut to its first 127 characters.
std::string Detail(const std::string& text) { return text.substr(0, 127); }

const std::string kName259(259, 'n');
const std::string kName260(260, 'n');
const std::string kName4000(4000, 'n');
const std::string kInvalidName = "bad<>|\"?*name.txt";

const std::string kCountTooHigh = "Line 0: Count too high\nor wrong # of dimensions";
const std::string kArrayErased = "Line 0: Array erased or undefined";
const std::string kBuffer = "Insufficient buffer or New$(<=0)";

std::string RecallOpen(const std::string& name) {
  return "Could not open\n" + Detail(name) + "\nfor Recall, FileRead$ etc.";
}
std::string StoreOpen(const std::string& name) {
  return "Could not open\n" + Detail(name) + "\nfor Store";
}

void ThreeElements() {
  DimArray(3, 2, 0);
  ElementText(3, 0);
  BuildText(kBuildAssign, {"one"});
}

struct FatalCase {
  const char* name;
  std::function<void()> call;
  int code;
  std::string message;
};

class HostileInput : public testing::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    std::ofstream(kPresent, std::ios::binary) << "present\r\n";
  }
  void TearDown() override {
    EraseArray(kEraseAllArrays);
    ReleaseTrackedBlock(kReleaseAllTracked);
    CloseFile(kCloseAllFiles);
    for (const char* name : {kPresent, kFields, kOutput}) std::remove(name);
    RuntimeTest::TearDown();
  }
};

TEST_F(HostileInput, EndsInTheDocumentedFatalError) {
  const FatalCase cases[] = {
      // File names.
      {"Recall, empty name", [] { Recall("", 3, 0, 0); }, 5, RecallOpen("")},
      {"Recall, 259 bytes", [] { Recall(kName259.c_str(), 3, 0, 0); }, 5, RecallOpen(kName259)},
      {"Recall, 260 bytes", [] { Recall(kName260.c_str(), 3, 0, 0); }, 5, RecallOpen(kName260)},
      {"Recall, 4000 bytes", [] { Recall(kName4000.c_str(), 3, 0, 0); }, 5, RecallOpen(kName4000)},
      {"Recall, invalid characters", [] { Recall(kInvalidName.c_str(), 3, 0, 0); }, 5,
       RecallOpen(kInvalidName)},
      {"Store, empty name",
       [] {
         ThreeElements();
         Store("", 3, -1);
       },
       4, StoreOpen("")},
      {"Store, 260 bytes",
       [] {
         ThreeElements();
         Store(kName260.c_str(), 3, -1);
       },
       4, StoreOpen(kName260)},
      {"Store, 4000 bytes",
       [] {
         ThreeElements();
         Store(kName4000.c_str(), 3, -1);
       },
       4, StoreOpen(kName4000)},
      {"Store, invalid characters",
       [] {
         ThreeElements();
         Store(kInvalidName.c_str(), 3, -1);
       },
       4, StoreOpen(kInvalidName)},
      {"FileRead$, 4000 bytes", [] { FileRead$(kName4000.c_str()); }, 5, RecallOpen(kName4000)},
      {"FileRead$, invalid characters", [] { FileRead$(kInvalidName.c_str()); }, 5,
       RecallOpen(kInvalidName)},
      {"FileCompare, second name of 260 bytes", [] { FileCompare(kPresent, kName260.c_str(), 0); },
       5, RecallOpen(kName260)},
      // Small numbers where a name belongs: a name that cannot be opened, the number told.
      {"Recall, 11", [] { Recall(11, 3, 0, 0); }, 5, RecallOpen("11")},
      {"Recall, 50", [] { Recall(50, 3, 0, 0); }, 5, RecallOpen("50")},
      {"Recall, 127", [] { Recall(127, 3, 0, 0); }, 5, RecallOpen("127")},
      {"Store, 50",
       [] {
         ThreeElements();
         Store(50, 3, -1);
       },
       4, StoreOpen("50")},
      {"Store, 127 with a count",
       [] {
         ThreeElements();
         Store(127, 3, 1);
       },
       4, StoreOpen("127")},
      {"FileRead$, 50", [] { FileRead$(SmallName(50)); }, 5, RecallOpen("50")},
      {"FileRead$, 5", [] { FileRead$(SmallName(5)); }, 5, RecallOpen("5")},
      {"FileCompare, first name 11", [] { FileCompare(SmallName(11), kPresent, 0); }, 5,
       RecallOpen("11")},
      {"FileCompare, second name 127", [] { FileCompare(kPresent, SmallName(127), 0); }, 5,
       RecallOpen("127")},
      // Detail texts the box cannot read: the message keeps its "#".
      {"detail null", [] { FatalError(kErrorRecallOpen, 0); }, 5,
       "Could not open\n#\nfor Recall, FileRead$ etc."},
      {"FileRead$, null name", [] { FileRead$(nullptr); }, 5,
       "Could not open\n#\nfor Recall, FileRead$ etc."},
      {"FileCompare, null name", [] { FileCompare(nullptr, kPresent, 0); }, 5,
       "Could not open\n#\nfor Recall, FileRead$ etc."},
      // Array numbers.
      {"DimArray 20", [] { DimArray(20, 1, 0); }, 6, kCountTooHigh},
      {"DimArray -1", [] { DimArray(-1, 1, 0); }, 6, kCountTooHigh},
      {"ElementText 20", [] { ElementText(20, 0); }, 6, kCountTooHigh},
      {"ElementText -2^31", [] { ElementText(INT32_MIN, 0); }, 6, kCountTooHigh},
      {"EraseArray 2^31 - 1", [] { EraseArray(INT32_MAX); }, 6, kCountTooHigh},
      {"SortArray -2^31", [] { SortArray(INT32_MIN, 0); }, 6, kCountTooHigh},
      {"SwapArrays 20", [] { SwapArrays(0, 20); }, 6, kCountTooHigh},
      {"Recall into 20", [] { Recall(kPresent, 20, 0, 0); }, 6, kCountTooHigh},
      {"Recall into -2^31", [] { Recall(kPresent, INT32_MIN, 0, 0); }, 6, kCountTooHigh},
      // Recall's own working array: the lines would be erased at once.
      {"Recall into 0", [] { Recall(kPresent, 0, 0, 0); }, 6, kCountTooHigh},
      // The array number is checked before anything is opened.
      {"Recall of a small name into 0", [] { Recall(50, 0, 0, 0); }, 6, kCountTooHigh},
      // File numbers.
      {"CloseFile 12", [] { CloseFile(12); }, 6, kCountTooHigh},
      {"CloseFile -2^31", [] { CloseFile(INT32_MIN); }, 6, kCountTooHigh},
      {"Recall from a free number", [] { Recall(4, 3, 0, 0); }, 5, RecallOpen("file number 4")},
      // Counts.
      {"SortArray count -2^31",
       [] {
         ThreeElements();
         SortArray(3, INT32_MIN);
       },
       6, kCountTooHigh},
      {"SortArray count 2^31 - 1",
       [] {
         ThreeElements();
         SortArray(3, INT32_MAX);
       },
       6, kCountTooHigh},
      {"Store count 2^31 - 1",
       [] {
         ThreeElements();
         Store(kOutput, 3, INT32_MAX);
       },
       6, kCountTooHigh},
      {"InsertElements 2^31 - 1",
       [] {
         ThreeElements();
         ElementText(3, 1);
         InsertElements(INT32_MAX);
       },
       1, "HeapAlloc"},
      {"DimRecordArray 2^31 - 1 records", [] { DimRecordArray(5, 16, INT32_MAX); }, 1, "HeapAlloc"},
      {"DimRecordArray records of 2^31 - 1 bytes", [] { DimRecordArray(5, INT32_MAX, 2); }, 1,
       "HeapAlloc"},
      {"DimRecordArray -2^31", [] { DimRecordArray(5, 8, INT32_MIN); }, 6, kCountTooHigh},
      {"CopyRecord -2^31",
       [] {
         DimRecordArray(5, 8, 3);
         CopyRecord(INT32_MIN, 0, 5);
       },
       6, kCountTooHigh},
      {"CopyRecord 2^31 - 1",
       [] {
         DimRecordArray(5, 8, 3);
         CopyRecord(INT32_MAX, 0, 5);
       },
       6, kCountTooHigh},
      {"New$ 2^31 - 1", [] { New$(INT32_MAX); }, 9, kBuffer},
      {"New$ -2^31", [] { New$(INT32_MIN); }, 9, kBuffer},
  };
  for (const FatalCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EXIT(
        {
          c.call();
          std::fprintf(stderr, "the call returned\n");
        },
        ExitsWith(-c.code), OnlyTheBox(c.message));
  }
}

// The box finds out that these cannot be read by touching them.
TEST_F(HostileInput, DetailTextsThatCannotBeRead) {
  if (!testing::AccessViolationsAreCaught()) GTEST_SKIP() << testing::kNoCaughtAccessViolations;
  EXPECT_EXIT(FatalError(kErrorStoreOpen, 11), ExitsWith(-4),
              OnlyTheBox("Could not open\n#\nfor Store"));
  EXPECT_EXIT(
      {
        static testing::GuardedPage page;
        const char* text = page.PlaceAtEnd("no end", 6);
        FatalError(kErrorStoreOpen, reinterpret_cast<Word>(text));
      },
      ExitsWith(-4), OnlyTheBox("Could not open\n#\nfor Store"));
}

TEST_F(HostileInput, TextsEndingAtAnUnreadablePage) {
  testing::GuardedPage page;
  const char* text = page.PlaceAtEnd("  Mixed 12.5e1 text  ", 22);  // with its terminator
  EXPECT_EQ(TextLength(text), 21u);
  EXPECT_EQ(FindText(1, text, "text", 0).address, text + 15);
  EXPECT_EQ(FindText(1, text, "absent", 0).address, nullptr);
  EXPECT_STREQ(TrimText(text, TrimLeading | TrimTrailing), "Mixed 12.5e1 text");
  EXPECT_STREQ(ConvertCase(text, 1), "  MIXED 12.5E1 TEXT  ");
  EXPECT_EQ(CompareTexts(text, "  Mixed", 0).difference, ' ');
  EXPECT_EQ(SubstituteText(text, "x", "xx", 0), 23);
  const char* number = page.PlaceAtEnd("125", 4);
  EXPECT_EQ(TextToNumber(number).value, 125);
  const char* empty = page.PlaceAtEnd("", 1);
  EXPECT_EQ(TextLength(empty), 0u);
  EXPECT_EQ(TextToNumber(empty).count, kNumberUnreadable);
}

TEST_F(HostileInput, NumbersOfTenThousandDigits) {
  const std::string digits(10000, '7');
  NumberReading r = TextToNumber(digits.c_str());
  EXPECT_EQ(r.count, 10000);
  double d = 0;
  EXPECT_EQ(TextToNumber(digits.c_str(), reinterpret_cast<Word>(&d), kNumberDouble).count, 10000);
  EXPECT_GT(d, 1e300);
  // Far beyond the table of powers: unreadable.
  const std::string tiny = "0." + std::string(10000, '0') + "1";
  EXPECT_EQ(TextToNumber(tiny.c_str(), reinterpret_cast<Word>(&d), kNumberDouble).count,
            kNumberUnreadable);
  const std::string hex = "0x" + std::string(10000, 'F');
  EXPECT_EQ(TextToNumber(hex.c_str()).count, kNumberUnreadable);
}

TEST_F(HostileInput, FieldLongerThanTheFieldBuffer) {
  const std::string field(5000, 'f');
  std::ofstream(kFields, std::ios::binary) << "a\t" << field << "\tz\r\n";
  Recall(kFields, 3, 0, kTabFields);
  TextRecord got = ElementText(3, TwoIndex(0, 1));
  EXPECT_EQ(got.text, FieldBuffer());
  EXPECT_EQ(std::strlen(FieldBuffer()), static_cast<size_t>(kFieldBufferSize - 1));
  EXPECT_EQ(LastFieldAccess.fieldLength, 5000);
  EXPECT_STREQ(ElementText(3, TwoIndex(0, 2)).text, "z");
}

TEST_F(HostileInput, OutOfRangeNumbersThatAreNoError) {
  EXPECT_EQ(OpenInput(11, kPresent, 0), kOpenFailed);
  EXPECT_EQ(OpenInput(-1, kPresent, 0), kOpenFailed);
  EXPECT_EQ(OpenInput(INT32_MIN, kPresent, 0), kOpenFailed);
  EXPECT_EQ(OpenOutput(INT32_MAX, kOutput, 'O'), kOpenFailed);
  char buffer[8] = {};
  EXPECT_EQ(ReadFromFile(11, buffer, 8).count, 0);
  EXPECT_EQ(ReadFromFile(INT32_MIN, buffer, 8).count, 0);
  EXPECT_EQ(FileSize(11).low, 0xFFFFFFFFu);
  EXPECT_EQ(FileSize(127).high, 0xFFFFFFFFu);
  EXPECT_EQ(FileSize(kName4000.c_str()).low, 0xFFFFFFFFu);
  EXPECT_EQ(FileSize(kInvalidName.c_str()).low, 0xFFFFFFFFu);
  EXPECT_EQ(FindFile(kName4000.c_str(), 1), 0u);
  // Null texts where the calls take them.
  EXPECT_STREQ(ConvertCase(nullptr, 1), "");
  EXPECT_EQ(OpenInput(1, nullptr, 0), kOpenFailed);
  EXPECT_EQ(OpenOutput(1, nullptr, 'O'), kOpenFailed);
  EXPECT_EQ(FindFile(nullptr, 1), 0u);
  // Small numbers where the calls take a name: nothing opened, nothing found.
  for (uintptr_t number : {1u, 11u, 50u, 127u}) {
    SCOPED_TRACE(number);
    EXPECT_EQ(OpenInput(1, SmallName(number), 0), kOpenFailed);
    EXPECT_EQ(OpenInput(1, SmallName(number), 1), kOpenFailed);
    EXPECT_EQ(FileTable()[1], kOpenFailed);
    EXPECT_EQ(OpenOutput(2, SmallName(number), 'O'), kOpenFailed);
    EXPECT_EQ(FindFile(SmallName(number), 1), 0u);
    EXPECT_EQ(FindHandle, 0u);
  }
  EXPECT_STREQ(reinterpret_cast<const char*>(CommonData().entries[6]), "Could not open 127");
  EXPECT_EQ(TextToNumber(static_cast<const char*>(nullptr)).count, kNumberUnreadable);
  // Counts at the ends of the range read as "all" or "nothing", never past the text.
  EXPECT_EQ(std::string(SliceText("abcdef", INT32_MAX, 2), 5), "bcdef");
  EXPECT_EQ(std::string(SliceText("abcdef", INT32_MIN, 2), 5), "bcdef");
  EXPECT_EQ(std::string(SliceText("abcdef", 2, INT32_MIN), 2), "ef");
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, 2);
  SliceText("abcdef", 2, INT32_MAX);
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, 0);
  char copy[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(CopyBytes(copy, "abc", INT32_MIN), copy);
  EXPECT_EQ(copy[0], 'x');
  ThreeElements();
  EXPECT_EQ(Store(kOutput, 3, INT32_MIN), 1);
  // Removing more elements than there are leaves a new count below 1: nothing changes.
  ElementText(3, 1);
  InsertElements(INT32_MIN);
  EXPECT_EQ(reinterpret_cast<ArrayDescriptor*>(ArrayTable()[3])->count, 3);
}

}  // namespace
}  // namespace corvala
