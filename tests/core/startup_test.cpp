#include <cstring>
#include <string>

#include "corvala/core.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::ExitsWith;
using testing::RuntimeTest;

class StartupTest : public RuntimeTest {};

TEST_F(StartupTest, FillsTheSharedStringTable) {
  RuntimeStartup();
  const TextRecord* t = SharedStringTable();
  EXPECT_EQ(t[0].text, nullptr);
  EXPECT_EQ(t[0].length, 0);
  struct Case {
    int id;
    const char* text;
  } cases[] = {{1, "\r\n"}, {2, "\t"}, {3, " "}, {4, "  "}, {5, "    "}, {7, "X"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(t[c.id].length, static_cast<int32_t>(std::strlen(c.text)));
    EXPECT_STREQ(t[c.id].text, c.text);
  }
  // Ids 3, 4 and 5 share one run of four spaces.
  EXPECT_EQ(t[4].text, t[5].text + 2);
  EXPECT_EQ(t[3].text, t[5].text + 3);
  EXPECT_EQ(t[8].text, nullptr);
  EXPECT_EQ(t[9].length, 0) << "the ring index stays 0 until the ring first moves";
}

TEST_F(StartupTest, ModuleFolderEndsAfterTheLastSeparator) {
  struct Case {
    std::string path;
    std::string folder;
  } cases[] = {
      {"D:\\apps\\tool.exe", "D:\\apps\\"},
      {"/usr/local/bin/tool", "/usr/local/bin/"},
      {"tool.exe", ""},
      {std::string(300, 'a') + "\\x.exe", ""},  // cut at 259 characters: no separator left
      {std::string(256, 'b') + "\\x.exe", std::string(256, 'b') + "\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    platform::hooks::SetModulePath(c.path.c_str());
    RuntimeStartup();
    EXPECT_EQ(std::string(ModuleFolder()), c.folder);
    EXPECT_EQ(SharedStringTable()[6].length, static_cast<int32_t>(c.folder.size()));
    EXPECT_EQ(SharedStringTable()[6].text, ModuleFolder());
  }
}

TEST_F(StartupTest, RunningTwiceLeavesTheSameTables) {
  RuntimeStartup();
  TextRecord first[10];
  std::memcpy(first, SharedStringTable(), sizeof first);
  RuntimeStartup();
  EXPECT_EQ(std::memcmp(first, SharedStringTable(), sizeof first), 0);
}

TEST_F(StartupTest, BitCountTable) {
  RuntimeStartup();
  const uint8_t* bits = BitCountTable();
  EXPECT_EQ(bits[0], 0);
  EXPECT_EQ(bits[7], 3);
  EXPECT_EQ(bits[128], 1);
  EXPECT_EQ(bits[255], 8);
}

TEST_F(StartupTest, CommonDataBlock) {
  CommonDataBlockView c = CommonData();
  EXPECT_EQ(std::memcmp(c.tag, "Common data\0\0\0\0\0", 16), 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(c.entries[0]), "\r\n");
  EXPECT_STREQ(reinterpret_cast<const char*>(c.entries[1]), "\r");
  EXPECT_STREQ(reinterpret_cast<const char*>(c.entries[2]), "\n");
  EXPECT_STREQ(reinterpret_cast<const char*>(c.entries[3]), "\t");
  EXPECT_EQ(reinterpret_cast<const char*>(c.entries[4]), ModuleFolder());
  EXPECT_EQ(c.entries[5], 7u);
  for (int entry = 9; entry <= 13; ++entry) EXPECT_EQ(c.entries[entry - 1], 1u) << entry;
  EXPECT_STREQ(reinterpret_cast<const char*>(c.entries[14]), "DebLog.txt");
  EXPECT_STREQ(c.dateFormat, "dd.MM.yyyy");
  EXPECT_STREQ(c.timeFormat, "HH:mm:ss");
}

TEST_F(StartupTest, RefusesAProcessorWithoutSse2) {
  EXPECT_EXIT(
      {
        platform::hooks::FakeSse2(platform::hooks::Sse2::kAbsent);
        RuntimeStartup();
      },
      ExitsWith(-99), "Sorry, Corvala needs SSE2");
}

}  // namespace
}  // namespace corvala
