#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/strings.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/hooks.h"
#include "tests/support/pipe_feed.h"
#include "tests/support/runtime_test.h"
#include "tests/support/temp_dir.h"

#ifndef _WIN32
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <thread>
#endif

namespace corvala {
namespace {

using testing::ExitsWith;
using testing::PipeFeed;
using testing::TempDir;

// Memory the system can give this process now, in bytes (0 when it cannot tell).
uint64_t AvailableMemory() {
#ifdef _WIN32
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof status;
  return GlobalMemoryStatusEx(&status) ? status.ullAvailPhys : 0;
#else
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  uint64_t kilobytes = 0;
  while (meminfo >> key >> kilobytes) {
    if (key == "MemAvailable:") return kilobytes * 1024;
    meminfo.ignore(64, '\n');
  }
  return 0;
#endif
}

// What a load gives: the lines, the bytes loaded and the bare line feeds met.
struct Loaded {
  std::vector<std::string> lines;
  intptr_t bytes;
  int32_t bareLineFeeds;
  bool operator==(const Loaded& other) const {
    return lines == other.lines && bytes == other.bytes && bareLineFeeds == other.bareLineFeeds;
  }
};
std::ostream& operator<<(std::ostream& out, const Loaded& loaded) {
  return out << loaded.lines.size() << " lines, " << loaded.bytes << " bytes, "
             << loaded.bareLineFeeds << " bare line feeds";
}

// CR LF lines of mixed lengths with a bare line feed now and then, and a last line without a
// break: larger than the scratch area and than several of the growing read's blocks.
std::string LargeText() {
  std::string text;
  uint32_t seed = 7;
  while (text.size() < 700000) {
    seed = seed * 1103515245u + 12345u;
    text.append((seed >> 16) % 300, static_cast<char>('a' + seed % 26));
    text += (seed & 0x700) == 0 ? "\n" : "\r\n";
  }
  return text + "last";
}

class RecallTest : public testing::RuntimeTest {
 protected:
  void TearDown() override {
    EraseArray(kEraseAllArrays);
    CloseFile(kCloseAllFiles);
    RuntimeTest::TearDown();
  }
  ArrayDescriptor* Array(int32_t number) {
    return reinterpret_cast<ArrayDescriptor*>(ArrayTable()[number]);
  }
  // The lines of an array, each checked to be zero-terminated at its length.
  std::vector<std::string> Lines(int32_t number) {
    std::vector<std::string> lines;
    ArrayDescriptor* array = Array(number);
    for (int32_t k = 0; k < array->count; ++k) {
      const ElementRecord& record = array->elements()[k];
      EXPECT_LE(record.length, 0) << "element " << k << " must not own its text";
      lines.emplace_back(record.text, static_cast<size_t>(-record.length));
      EXPECT_EQ(record.text[-record.length], '\0') << "element " << k;
    }
    return lines;
  }
  Loaded Load(TextArg file) {
    RecallResult result = Recall(file, 5, 0, 0);
    return {Lines(5), result.bytes, BareLineFeedCount};
  }
  TempDir dir_;
};

TEST_F(RecallTest, LineBreaksByNameAndByNumber) {
  const std::string x31(31, 'x');
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
    int32_t bareLineFeeds;
  };
  const Case cases[] = {
      {"a\r\nb\r\n", {"a", "b"}, 0},
      {"a\r\nb\r\nc", {"a", "b", "c"}, 0},
      {"a\nb\r\n", {"a\nb"}, 1},
      {"x\ny\nz\n", {"x\ny\nz\n"}, 3},
      {"a\r\nb\n", {"a", "b\n"}, 1},
      {"", {""}, 0},
      {"\r\n", {""}, 0},
      {"\r\r\n", {"\r"}, 0},
      {"\nab", {"\nab"}, 1},
      {"a\r\n\r\n\r\nb", {"a", "", "", "b"}, 0},
      {"a\rb", {"a\rb"}, 0},
      // CR the last byte of one 32-byte step, LF the first of the next.
      {x31 + "\r\ny", {x31, "y"}, 0},
      {x31 + "\n" + x31 + "\r\n" + x31 + x31 + "\r\n", {x31 + "\n" + x31, x31 + x31}, 1},
      {std::string("a\0b\r\nc", 6), {std::string("a\0b", 3), "c"}, 0},
  };
  for (const Case& c : cases) {
    for (bool byNumber : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "bytes \"" << c.bytes << "\" by number " << byNumber);
      std::string path = dir_.Write("lines.txt", c.bytes);
      BareLineFeedCount = 77;
      RecallResult result;
      if (byNumber) {
        ASSERT_NE(OpenInput(4, path.c_str(), 0), kOpenFailed);
        result = Recall(4, 5, 0, 0);
        EXPECT_EQ(FileTable()[4], 0u);
      } else {
        result = Recall(path.c_str(), 5, 0, 0);
        EXPECT_EQ(FileTable()[9], 0u);
      }
      EXPECT_EQ(result.lines, static_cast<int32_t>(c.lines.size()));
      EXPECT_EQ(result.bytes, static_cast<int32_t>(c.bytes.size()));
      EXPECT_EQ(Lines(5), c.lines);
      EXPECT_EQ(BareLineFeedCount, c.bareLineFeeds);
      EXPECT_EQ(ArrayTable()[0], kErased);
    }
  }
}

TEST_F(RecallTest, FromTheFilePositionOn) {
  std::string path = dir_.Write("lines.txt", "skip\r\nkeep\r\nthis");
  OpenInput(2, path.c_str(), 0);
  char buffer[6];
  ReadFromFile(2, buffer, 6);
  RecallResult result = Recall(2, 3, 0, 0);
  EXPECT_EQ(result.bytes, 10);
  EXPECT_EQ(Lines(3), (std::vector<std::string>{"keep", "this"}));

  // A number read to its end gives one empty line.
  OpenInput(2, path.c_str(), 0);
  ReadFromFile(2, buffer, 6);
  ReadFromFile(2, buffer, 6);
  ReadFromFile(2, buffer, 6);
  result = Recall(2, 3, 0, 0);
  EXPECT_EQ(result.lines, 1);
  EXPECT_EQ(result.bytes, 0);
}

TEST_F(RecallTest, ArrayLayoutAndReleases) {
  std::string path = dir_.Write("lines.txt", "one\r\ntwo\r\n");
  DimArray(6, 3, 0);  // replaced by the loaded array
  RecallResult result = Recall(path.c_str(), 6, 0x1234, 0);
  EXPECT_EQ(result.lines, 2);
  ArrayDescriptor* array = Array(6);
  EXPECT_EQ(array->count, 2);
  EXPECT_EQ(array->userValue, 0x1234u);
  EXPECT_EQ(array->shape, 0);
  // The texts lie in one 16-byte aligned block; bit 0 marks data 8 bytes into it.
  const char* data = array->elements()[0].text;
  EXPECT_EQ(reinterpret_cast<uintptr_t>(data) % 16, 0u);
  EXPECT_EQ(array->backing & ~Word{1}, reinterpret_cast<Word>(data));
  EXPECT_EQ(array->elements()[1].text, data + 5);

  int32_t releases = ReleaseCount;
  EraseArray(6);
  EXPECT_EQ(ReleaseCount - releases, 2);
}

TEST_F(RecallTest, ModesMarkFieldsOrReceiveTheLineCount) {
  std::string path = dir_.Write("fields.txt", "a\tbb\tccc\r\nx,\"y,z\",w\r\n");
  Recall(path.c_str(), 1, 0, kTabFields);
  EXPECT_EQ(Array(1)->shape, kTabFields);
  TextRecord field = ElementText(1, TwoIndex(0, 1));
  EXPECT_EQ(std::string(field.text, static_cast<size_t>(std::abs(field.length))), "bb");

  Recall(path.c_str(), 1, 0, -130);
  EXPECT_EQ(Array(1)->shape, -130);
  field = ElementText(1, TwoIndex(1, 1));
  EXPECT_EQ(std::string(field.text, static_cast<size_t>(std::abs(field.length))), "y,z");

  // Every count address receives the count, whatever its bits.
  int32_t counts[4] = {-1, -1, -1, -1};
  for (int32_t& count : counts) {
    Recall(path.c_str(), 1, 0, &count);
    EXPECT_EQ(count, 2);
  }
  EXPECT_EQ(Array(1)->shape, 0);
}

TEST_F(RecallTest, ShortReadLoadsWhatWasRead) {
  std::string path = dir_.Write("lines.txt", "first\r\nsecond\r\nthird\r\n");
  platform::hooks::LimitNextRead(10);
  RecallResult result = Recall(path.c_str(), 2, 0, 0);
  EXPECT_EQ(result.bytes, 10);
  EXPECT_EQ(Lines(2), (std::vector<std::string>{"first", "sec"}));
}

// More short lines than the working array is first sized for: it grows as the lines come, and
// a growth that fails is the allocation failure, with every block released.
TEST_F(RecallTest, ManyShortLines) {
  std::string bytes;
  std::vector<std::string> lines;
  for (int i = 0; i < 20000; ++i) {
    lines.push_back(std::to_string(i % 10));
    bytes += lines.back() + "\r\n";
  }
  const std::string path = dir_.Write("short.txt", bytes);
  RecallResult result = Recall(path.c_str(), 2, 0, 0);
  EXPECT_EQ(result.lines, 20000);
  EXPECT_EQ(Lines(2), lines);

  EraseArray(2);
  static int32_t left;
  EXPECT_EXIT(
      {
        left = AllocationCount - ReleaseCount;
        platform::hooks::SetExitHook([](unsigned) {
          // The failed growth is not counted: what is left was there before.
          if (AllocationCount - ReleaseCount != left) std::fprintf(stderr, "blocks left\n");
        });
        platform::hooks::FailHeapAllocation(3);  // the working array, the text block, a growth
        Recall(path.c_str(), 2, 0, 0);
      },
      ExitsWith(-1), "^Fatal error:\\s+HeapAlloc\\s*$");
}

// Element lengths are 32-bit: a line of 2^31 bytes is a clear error, not a wrapped length. The
// file is sparse (all zero bytes, so one line) and costs no disk, but Recall reads it whole.
TEST_F(RecallTest, LineOfTwoGigabytesIsFatal) {
  constexpr uint64_t kTwoGigabytes = uint64_t{1} << 31;
  if (sizeof(void*) < 8) GTEST_SKIP() << "a 32-bit build loads less than 2 GB";
  if (AvailableMemory() < 2 * kTwoGigabytes) GTEST_SKIP() << "needs 4 GB of free memory";
  const std::string path = dir_.Write("line.txt", "");
  std::filesystem::resize_file(path, kTwoGigabytes);
  EXPECT_EXIT(Recall(path.c_str(), 1, 0, 0), ExitsWith(-5),
              "Fatal error:\\s+Could not open\\s+a line of 2 GB or more in .*line.txt\\s+"
              "for Recall, FileRead\\$ etc.");
}

TEST_F(RecallTest, UnopenableFilesAreFatal) {
  std::string missing = dir_.Path("missing.txt");
  EXPECT_EXIT(Recall(missing.c_str(), 1, 0, 0), ExitsWith(-5),
              "Fatal error:\\s+Could not open\\s+.*missing.txt\\s+for Recall, FileRead\\$ etc.");
  EXPECT_EXIT(Recall(3, 1, 0, 0), ExitsWith(-5), "Could not open\\s+file number 3\\s+for Recall");
  OpenInput(3, missing.c_str(), 0);
  EXPECT_EXIT(Recall(3, 1, 0, 0), ExitsWith(-5), "Could not open\\s+file number 3\\s+for Recall");
}

// Pipes report no size: they are read to their end and load as the same bytes from a file.
TEST_F(RecallTest, PipesLoadAsTheSameBytesFromAFile) {
  const std::string texts[] = {"", "a\r\nb\nc\r\n", LargeText()};
  int serial = 0;
  for (const std::string& bytes : texts) {
    SCOPED_TRACE(::testing::Message() << bytes.size() << " bytes");
    const Loaded expected = Load(dir_.Write("plain.txt", bytes).c_str());
    {
      PipeFeed feed(dir_, "by-name-" + std::to_string(serial++), bytes);
      EXPECT_EQ(Load(feed.path().c_str()), expected);
      EXPECT_EQ(FileTable()[9], 0u);
      // The same layout as a sized load: one 16-byte aligned block, two releases.
      const char* data = Array(5)->elements()[0].text;
      EXPECT_EQ(reinterpret_cast<uintptr_t>(data) % 16, 0u);
      EXPECT_EQ(Array(5)->backing & ~Word{1}, reinterpret_cast<Word>(data));
      const int32_t releases = ReleaseCount;
      EraseArray(5);
      EXPECT_EQ(ReleaseCount - releases, 2);
    }
    {
      PipeFeed feed(dir_, "by-number-" + std::to_string(serial++), bytes);
      ASSERT_NE(OpenInput(4, feed.path().c_str(), 0), kOpenFailed);
      EXPECT_EQ(Load(4), expected);
      EXPECT_EQ(FileTable()[4], 0u);
    }
  }
}

#ifndef _WIN32
TEST_F(RecallTest, StandardInputFedThroughAPipe) {
  const std::string bytes = LargeText();
  const Loaded expected = Load(dir_.Write("plain.txt", bytes).c_str());
  for (bool byNumber : {false, true}) {
    SCOPED_TRACE(byNumber ? "the standard input handle on a number" : "/dev/stdin");
    const int saved = dup(0);
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    dup2(ends[0], 0);
    close(ends[0]);
    std::thread writer([&] {
      for (size_t at = 0; at < bytes.size();) {
        ssize_t n = write(ends[1], bytes.data() + at, bytes.size() - at);
        if (n <= 0) break;
        at += static_cast<size_t>(n);
      }
      close(ends[1]);
    });
    Loaded loaded;
    if (byNumber) {
      FileTable()[6] = reinterpret_cast<Word>(platform::GetStdHandle(STD_INPUT_HANDLE));
      loaded = Load(6);
    } else {
      loaded = Load("/dev/stdin");
    }
    writer.join();
    dup2(saved, 0);
    close(saved);
    EXPECT_EQ(loaded, expected);
  }
}

// The files of /proc report a size of 0 and hold text all the same.
TEST_F(RecallTest, ProcFilesAsAPlainReadOfThem) {
  for (const char* name : {"/proc/version", "/proc/self/cmdline"}) {
    SCOPED_TRACE(name);
    std::ifstream in(name, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(Load(name), Load(dir_.Write("plain.txt", bytes).c_str()));
  }
}
#endif

}  // namespace
}  // namespace corvala
