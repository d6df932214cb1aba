#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "tests/strings/array_test_support.h"

namespace corvala {
namespace {

using testing::ArrayTest;
using testing::ExitsWith;

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

using RecordArrayDeathTest = RecordArrayTest;

TEST_F(RecordArrayDeathTest, CopyRecordStaysInsideTheArray) {
  DimRecordArray(kNumber, 4, 2);
  EXPECT_EXIT(CopyRecord(0, 3, kNumber), ExitsWith(-6), "Count too high");
  EXPECT_EXIT(CopyRecord(3, 0, kNumber), ExitsWith(-6), "Count too high");
  EXPECT_EXIT(CopyRecord(0, -1, kNumber), ExitsWith(-6), "Count too high");
  EXPECT_EXIT(CopyRecord(-(1 + 8 * 2), 2, kNumber), ExitsWith(-6), "Count too high");  // 2 records
  EXPECT_EXIT(CopyRecord(-1, 1, kNumber), ExitsWith(-6), "Count too high");  // all records
  EXPECT_EXIT(CopyRecord(0, 0, 8), ExitsWith(-7), "Array erased or undefined");
}

}  // namespace
}  // namespace corvala
