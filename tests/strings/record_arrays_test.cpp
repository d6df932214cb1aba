#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "tests/strings/array_test_support.h"
#include "tests/support/temp_dir.h"

namespace corvala {
namespace {

using testing::ArrayTest;

struct RecordHeader {
  int32_t count;
  int32_t recordSize;
};

// Record arrays go with the tracked blocks, never through EraseArray: the fixture takes the
// record array out of the array table before the arrays are erased.
class RecordArrayTest : public ArrayTest {
 protected:
  static constexpr int32_t kNumber = 6;
  void TearDown() override {
    ArrayTable()[kNumber] = 0;
    ArrayTest::TearDown();
  }
};

const RecordHeader& HeaderOf(const void* first) {
  return *reinterpret_cast<const RecordHeader*>(static_cast<const char*>(first) - 8);
}

TEST_F(RecordArrayTest, DimRecordArrayMakesATrackedZeroedBlock) {
  const int32_t releases = ReleaseCount;
  char* first = static_cast<char*>(DimRecordArray(kNumber, 12, 3));
  EXPECT_EQ(ArrayTable()[kNumber], reinterpret_cast<Word>(first));
  EXPECT_EQ(HeaderOf(first).count, 4);
  EXPECT_EQ(HeaderOf(first).recordSize, 12);
  for (int i = 0; i < 4 * 12; ++i) ASSERT_EQ(first[i], 0);
  ReleaseTrackedBlock(kReleaseAllTracked);  // record arrays go with the tracked blocks
  EXPECT_EQ(ReleaseCount, releases + 1);
}

TEST_F(RecordArrayTest, CopyRecordCopiesOneRecordOverAnother) {
  char* first = static_cast<char*>(DimRecordArray(kNumber, 5, 2));
  std::memcpy(first, "abcde", 5);
  std::memcpy(first + 5, "fghij", 5);
  CopyRecord(1, 2, kNumber);
  CopyRecord(0, 1, kNumber);
  CopyRecord(0, 0, kNumber);
  EXPECT_EQ(std::string(first, 15), "abcdeabcdefghij");
}

TEST_F(RecordArrayTest, CopyRecordWritesRunsOfRecordsToAFileNumber) {
  testing::TempDir dir;
  char* first = static_cast<char*>(DimRecordArray(kNumber, 3, 3));
  std::memcpy(first, "aaabbbcccddd", 12);
  HANDLE file = platform::CreateFileA(dir.Path("records").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FileTable()[3] = reinterpret_cast<Word>(file);
  CopyRecord(-(3 + 8 * 2), 0, kNumber);  // records 0 and 1
  CopyRecord(-(3 + 8 * 1), 3, kNumber);  // record 3
  CopyRecord(-3, 0, kNumber);            // all four
  CloseFile(3);
  EXPECT_EQ(dir.Read("records"), "aaabbbdddaaabbbcccddd");
}

using RecordArrayDeathTest = RecordArrayTest;

TEST_F(RecordArrayDeathTest, CopyRecordStaysInsideTheArray) {
  DimRecordArray(kNumber, 4, 2);
  const char* const kTooHigh = "Fatal error:\nLine 0: Count too high";
  // The fatal path leaves the record array to the tracked blocks, so it ends cleanly.
  const auto kCode6 = testing::ExitsWith(-6);
  EXPECT_EXIT(CopyRecord(0, 3, kNumber), kCode6, kTooHigh);
  EXPECT_EXIT(CopyRecord(3, 0, kNumber), kCode6, kTooHigh);
  EXPECT_EXIT(CopyRecord(0, -1, kNumber), kCode6, kTooHigh);
  EXPECT_EXIT(CopyRecord(-(1 + 8 * 2), 2, kNumber), kCode6, kTooHigh);  // 2 from the last
  EXPECT_EXIT(CopyRecord(-1, 1, kNumber), kCode6, kTooHigh);            // all records from record 1
  EXPECT_EXIT(CopyRecord(0, 0, 8), testing::ExitsWith(-7),
              "Fatal error:\nLine 0: Array erased or undefined");
  DimArray(9, 1, 0);
  EraseArray(9);
  EXPECT_EXIT(CopyRecord(0, 0, 9), testing::ExitsWith(-7),
              "Fatal error:\nLine 0: Array erased or undefined");
  EXPECT_EXIT(DimRecordArray(kNumber, -1, 2), kCode6, kTooHigh);
}

}  // namespace
}  // namespace corvala
