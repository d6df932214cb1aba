#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/strings.h"
#include "platform/find.h"
#include "runtime/core/state.h"
#include "runtime/core/words.h"
#include "runtime/files/read_to_end.h"
#include "tests/support/pipe_feed.h"
#include "tests/support/runtime_test.h"
#include "tests/support/temp_dir.h"

namespace corvala {
namespace {

class FileQueriesTest : public testing::RuntimeTest {
 protected:
  void TearDown() override {
    CloseFile(kCloseAllFiles);
    for (Word& held : internal::g_state.files.heldContents) internal::ReleaseLoaded(held);
    testing::RuntimeTest::TearDown();
  }
  testing::TempDir dir_;
};

TEST_F(FileQueriesTest, FindFileWithAWildcardFillsFindData) {
  dir_.Write("notes.log", "no");
  std::string match = dir_.Write("report.txt", "twelve bytes");
  Word found = FindFile(dir_.Path("*.txt").c_str(), 1);
  EXPECT_NE(found, 0u);
  EXPECT_EQ(FindHandle, 0u);
  EXPECT_STREQ(FindData.cFileName, "report.txt");
  EXPECT_EQ(FindData.nFileSizeLow, 12u);
  EXPECT_EQ(FindData.nFileSizeHigh, 0u);
  EXPECT_EQ(FindData.dwFileAttributes & 0x10, 0u);  // not a folder
  EXPECT_NE(FindData.ftLastWriteTime.dwHighDateTime, 0u);
}

TEST_F(FileQueriesTest, FindFileKeepsTheSearchOpenWhenAsked) {
  std::string name = dir_.Write("a.txt", "a");
  Word found = FindFile(name.c_str(), 0);
  EXPECT_NE(found, 0u);
  EXPECT_EQ(FindHandle, found);
  EXPECT_TRUE(platform::FindClose(reinterpret_cast<HANDLE>(FindHandle)));
}

TEST_F(FileQueriesTest, FindFileMissLeavesFindDataButTheAttributes) {
  FindFile(dir_.Write("kept.txt", "abc").c_str(), 1);
  EXPECT_EQ(FindFile(dir_.Path("*.none").c_str(), 0), 0u);
  EXPECT_EQ(FindHandle, 0u);
  EXPECT_EQ(FindData.dwFileAttributes, kFileAttributeNormal);
  EXPECT_STREQ(FindData.cFileName, "kept.txt");
  EXPECT_EQ(FindData.nFileSizeLow, 3u);
}

TEST_F(FileQueriesTest, SizesByNumberAndByName) {
  std::string full = dir_.Write("five.txt", "12345");
  std::string empty = dir_.Write("empty.txt", "");
  std::string missing = dir_.Path("missing.txt");
  OpenInput(3, full.c_str(), 0);
  OpenInput(4, empty.c_str(), 0);
  struct Case {
    TextArg file;
    uint32_t low;
  };
  const Case cases[] = {
      {3, 5},
      {full.c_str(), 5},
      {4, 0},
      {empty.c_str(), 0},
      // Free numbers, failed opens and missing names give -1 in the low half.
      {5, 0xFFFFFFFFu},
      {missing.c_str(), 0xFFFFFFFFu},
      {50, 0xFFFFFFFFu},
  };
  for (const Case& c : cases) {
    FileSizeHalves size = FileSize(c.file);
    EXPECT_EQ(size.low, c.low) << c.file.word();
    if (c.low != 0xFFFFFFFFu) {
      EXPECT_EQ(size.high, 0u) << c.file.word();
    }
  }
  OpenInput(6, missing.c_str(), 0);
  EXPECT_EQ(FileSize(6).low, 0xFFFFFFFFu);
}

// The text builder's part: a literal, the piece expanded in place, another literal.
std::string BuildAround(const char* before, const char* after) {
  const TempSlot* slot = SelectTempSlot(kSlotCurrent);
  EXPECT_TRUE(IsDeferredText(slot->text));
  std::vector<char> built(std::strlen(before) + slot->length + std::strlen(after) + 1);
  char* at = std::strcpy(built.data(), before) + std::strlen(before);
  at += ExpandDeferredText(slot->text, at, static_cast<uint32_t>(slot->length));
  std::strcpy(at, after);
  return std::string(built.data(), at + std::strlen(after));
}

TEST_F(FileQueriesTest, FileContentsBetweenTwoLiterals) {
  std::string five = dir_.Write("five.bin", std::string("ab\0de", 5));
  std::string empty = dir_.Write("empty.bin", "");
  const char* piece = FileRead$(five.c_str());
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->text, piece);
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, 5);
  EXPECT_EQ(BuildAround("<<", ">>"), std::string("<<ab\0de>>", 9));
  EXPECT_EQ(FileTable()[10], 0u);  // read on number 10 and closed again

  FileRead$(empty.c_str());
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, 0);
  EXPECT_EQ(BuildAround("<<", ">>"), "<<>>");
  EXPECT_EQ(FileTable()[10], 0u);
}

TEST_F(FileQueriesTest, FileContentsPieceLayout) {
  using internal::LoadInt32;
  using internal::LoadWord;
  std::string name = dir_.Write("seven.txt", "1234567");
  const char* piece = FileRead$(name.c_str());
  constexpr size_t W = sizeof(Word);
  EXPECT_EQ(LoadInt32(piece), -124);
  EXPECT_EQ(LoadInt32(piece + 4), -123);
  EXPECT_EQ(LoadWord(piece + 8), reinterpret_cast<Word>(name.c_str()));
  EXPECT_EQ(LoadInt32(piece + 8 + W), 7);
  EXPECT_EQ(ScratchWritePosition(), piece + 12 + W + 4);
}

TEST_F(FileQueriesTest, FileContentsOfAMissingFileAreFatal) {
  std::string name = dir_.Path("absent.txt");
  EXPECT_EXIT(FileRead$(name.c_str()), testing::ExitsWith(-5),
              "Could not open\\s+.*absent.txt\\s+for Recall, FileRead");
}

// A pipe's size is not known before it ends: FileRead$ reads it whole at once, and the text
// built from it holds every byte, also beside another pipe and past the scratch area.
TEST_F(FileQueriesTest, FileContentsOfPipes) {
  std::string large;
  for (int i = 0; large.size() < 700000; ++i) large += "line " + std::to_string(i) + "\r\n";
  const std::string texts[] = {"", std::string("ab\0de", 5), large};
  int serial = 0;
  for (const std::string& bytes : texts) {
    SCOPED_TRACE(::testing::Message() << bytes.size() << " bytes");
    testing::PipeFeed first(dir_, "first-" + std::to_string(serial++), bytes);
    testing::PipeFeed second(dir_, "second-" + std::to_string(serial++), "+");
    ElementRecord built{};
    TargetVariable(built);
    FileRead$(first.path().c_str());
    EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, static_cast<int32_t>(bytes.size()));
    FileRead$(second.path().c_str());
    BuildText(kBuildAssign, {"<<", kCurrentSlot, kCurrentSlot, ">>"});
    EXPECT_EQ(std::string(built.text, static_cast<size_t>(built.length)), "<<" + bytes + "+>>");
    EXPECT_EQ(FileTable()[10], 0u);
    if (built.length > 0) CountedFree(const_cast<char*>(built.text));
  }
}

#ifndef _WIN32
TEST_F(FileQueriesTest, FileContentsOfAProcFile) {
  std::ifstream in("/proc/version", std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ElementRecord built{};
  TargetVariable(built);
  FileRead$("/proc/version");
  BuildText(kBuildAssign, {kCurrentSlot});
  EXPECT_EQ(std::string(built.text, static_cast<size_t>(built.length)), bytes);
  CountedFree(const_cast<char*>(built.text));
}
#endif

}  // namespace
}  // namespace corvala
