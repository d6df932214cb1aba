#include <cstdio>
#include <string>

#include "corvala/files.h"
#include "tests/support/runtime_test.h"
#include "tests/support/typed_keys.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace corvala {
namespace {

#ifndef _WIN32

// Runs `body` with standard output going to a file and returns what it wrote.
template <typename Body>
std::string CaptureStdout(Body body) {
  std::fflush(stdout);
  char path[] = "/tmp/corvala_console_XXXXXX";
  int file = mkstemp(path);
  int saved = dup(1);
  dup2(file, 1);
  body();
  std::fflush(stdout);
  dup2(saved, 1);
  close(saved);
  std::string out;
  lseek(file, 0, SEEK_SET);
  char buffer[256];
  ssize_t n;
  while ((n = read(file, buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<size_t>(n));
  close(file);
  unlink(path);
  return out;
}

using testing::WithTypedKeys;

class ConsoleTest : public testing::RuntimeTest {};

TEST_F(ConsoleTest, ConsoleTargetWritesToStandardOutput) {
  TempSlot* slot = SelectTempSlot(kSlotAdvance);
  slot->text = "result";
  slot->length = 6;
  std::string out = CaptureStdout([] { BuildText(0, {"a", 1, 127}); });
  EXPECT_EQ(out, "a\r\nresult");
  EXPECT_EQ(CaptureStdout([] { EXPECT_EQ(ConsoleWrite("xyz\0hidden"), 3u); }), "xyz");
}

TEST_F(ConsoleTest, WaitKeyReportsPlainAndExtendedKeys) {
  struct Case {
    std::string typed;
    KeyPress key;
  } cases[] = {{"a", {'a', 0}},       {"\x1b[A", {0x48, 1}},  {"\x1b[B", {0x50, 1}},
               {"\x1b[D", {0x4B, 1}}, {"\x1b[3~", {0x53, 1}}, {"\x1bOP", {0x3B, 1}},
               {"\r", {'\r', 0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.substr(1));
    KeyPress key{};
    WithTypedKeys(c.typed, [&] { key = WaitKey(); });
    EXPECT_EQ(key.code, c.key.code);
    EXPECT_EQ(key.extended, c.key.extended);
  }
}

TEST_F(ConsoleTest, WaitBitReturnsTheKeyCode) {
  Word code = 0;
  WithTypedKeys("\x1b[C",
                [&] { CaptureStdout([&] { code = BuildText(kBuildWaitKey, {"Press a key"}); }); });
  EXPECT_EQ(code, 0x4Du);
}

#endif

}  // namespace
}  // namespace corvala
