#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <thread>
#endif

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/strings.h"
#include "runtime/core/state.h"
#include "tests/support/runtime_test.h"
#include "tests/support/temp_dir.h"

namespace corvala {
namespace {

using testing::ExitsWith;
using testing::TempDir;

class StoreTest : public testing::RuntimeTest {
 protected:
  void TearDown() override {
    EraseArray(kEraseAllArrays);
    CloseFile(kCloseAllFiles);
    RuntimeTest::TearDown();
  }
  // An array whose elements show the given texts (kept by the fixture, not owned).
  void MakeArray(int32_t number, std::vector<std::string> texts) {
    texts_ = std::move(texts);
    ArrayDescriptor* array = DimArray(number, static_cast<int32_t>(texts_.size()) - 1, 0);
    for (size_t k = 0; k < texts_.size(); ++k) {
      array->elements()[k] = {texts_[k].c_str(), -static_cast<int32_t>(texts_[k].size())};
    }
  }
  std::vector<std::string> texts_;
  TempDir dir_;
};

TEST_F(StoreTest, CountsAndEmptyTails) {
  struct Case {
    std::vector<std::string> elements;
    int32_t count;
    int32_t lines;
    std::string file;
  };
  const Case cases[] = {
      {{"a", "", "b"}, -1, 3, "a\r\n\r\nb\r\n"},
      {{"a", "bc", "", "", ""}, -1, 2, "a\r\nbc\r\n"},
      {{"", ""}, -1, 0, ""},
      {{}, -1, 0, ""},
      {{"a", "b", "c"}, 0, 0, ""},
      {{"a", "b", "c"}, 2, 2, "a\r\nb\r\n"},
      {{"a", "", ""}, 3, 3, "a\r\n\r\n\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.elements.size() << " elements, count " << c.count);
    MakeArray(4, c.elements);
    std::string path = dir_.Write("out.txt", "old contents");
    EXPECT_EQ(Store(path.c_str(), 4, c.count), c.lines);
    EXPECT_EQ(dir_.Read("out.txt"), c.file);
    EXPECT_EQ(FileTable()[9], 0u);
  }
}

TEST_F(StoreTest, RecallThenStoreGivesTheSameBytes) {
  const std::string files[] = {
      "a\r\nb\r\n",
      "\r\n\r\n",
      "tab\tseparated\r\nbare\nfeed\r\n\r\r\n" + std::string(1000, 'x') + "\r\n",
  };
  for (const std::string& bytes : files) {
    std::string in = dir_.Write("in.txt", bytes);
    RecallResult loaded = Recall(in.c_str(), 3, 0, 0);
    EXPECT_EQ(Store(dir_.Path("out.txt").c_str(), 3, loaded.lines), loaded.lines);
    EXPECT_EQ(dir_.Read("out.txt"), bytes);
  }
}

TEST_F(StoreTest, LargeTotalsAndLongElements) {
  // About 1.5 MB in lines of mixed lengths, and elements that do not fit the staging buffer.
  std::vector<std::string> elements;
  std::string expected;
  for (int k = 0; k < 4000; ++k) {
    elements.push_back(
        std::string(static_cast<size_t>(k * 37 % 701), static_cast<char>('a' + k % 26)));
    if (k == 1500) elements.push_back(std::string(639998, 'F'));  // just fits
    if (k == 2500) elements.push_back(std::string(700000, 'L'));  // written directly
  }
  for (const std::string& e : elements) expected += e + "\r\n";
  MakeArray(7, elements);
  EXPECT_EQ(Store(dir_.Path("big.txt").c_str(), 7, -1), static_cast<int32_t>(texts_.size()));
  EXPECT_TRUE(dir_.Read("big.txt") == expected);
}

TEST_F(StoreTest, ByNumberAppendsAndStaysOpen) {
  std::string path = dir_.Write("log.txt", "first\r\n");
  MakeArray(2, {"second", "third"});
  Word handle = OpenOutput(5, path.c_str(), 'A');
  EXPECT_EQ(Store(5, 2, -1), 2);
  EXPECT_EQ(FileTable()[5], handle);
  EXPECT_EQ(Store(5, 2, 1), 1);  // on from where the last one ended
  CloseFile(5);
  EXPECT_EQ(dir_.Read("log.txt"), "first\r\nsecond\r\nthird\r\nsecond\r\n");

  dir_.Write("log.txt", "0123456789ABCDEF");
  OpenOutput(5, path.c_str(), 'U');
  Store(5, 2, 1);
  CloseFile(5);
  EXPECT_EQ(dir_.Read("log.txt"), "second\r\n89ABCDEF");
}

TEST_F(StoreTest, ResetsTheScratchWritePosition) {
  MakeArray(2, {"x"});
  char* start = ScratchWritePosition();
  CommitScratchText(start + 5, kSlotAdvance);
  EXPECT_NE(ScratchWritePosition(), start);
  Store(dir_.Path("out.txt").c_str(), 2, -1);
  EXPECT_EQ(ScratchWritePosition(), start);
}

TEST_F(StoreTest, FatalErrors) {
  MakeArray(2, {"a", "b"});
  std::string path = dir_.Path("missing/folder/out.txt");
  EXPECT_EXIT(Store(path.c_str(), 2, -1), ExitsWith(-4),
              "Fatal error:\\s+Could not open\\s+.*missing/folder/out.txt\\s+for Store");
  EXPECT_EXIT(Store(dir_.Path("out.txt").c_str(), 8, 1), ExitsWith(-7), "Array erased");
  EXPECT_EXIT(Store(dir_.Path("out.txt").c_str(), 8, -1), ExitsWith(-7), "Array erased");
  // Numbers outside 0 to 19 name no array; an erased one has no elements.
  EXPECT_EXIT(Store(dir_.Path("out.txt").c_str(), -1, 1), ExitsWith(-7), "Array erased");
  EXPECT_EXIT(Store(dir_.Path("out.txt").c_str(), kArrayNumbers, 1), ExitsWith(-7), "Array erased");
  DimArray(3, 1, 0);
  EraseArray(3);
  EXPECT_EXIT(Store(dir_.Path("out.txt").c_str(), 3, -1), ExitsWith(-7), "Array erased");
  EXPECT_EXIT(Store(dir_.Path("out.txt").c_str(), 2, 3), ExitsWith(-6), "Count too high");
  // The lines staged before the missing element are not written.
  EXPECT_EQ(dir_.Read("out.txt"), "");
}

#ifndef _WIN32
// A FIFO cannot be emptied as a file is: it opens as it is, waits for its reader (which may
// come later than Store) and the reader gets the lines.
TEST_F(StoreTest, ToAFifo) {
  const std::string fifo = dir_.Path("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] {
    std::ifstream in(fifo, std::ios::binary);
    received.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  });
  MakeArray(2, {"one", "two"});
  EXPECT_EQ(Store(fifo.c_str(), 2, 2), 2);
  reader.join();
  EXPECT_EQ(received, "one\r\ntwo\r\n");
}
#endif

}  // namespace
}  // namespace corvala
