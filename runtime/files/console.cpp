#include "platform/console.h"

#include "corvala/files.h"
#include "corvala/strings.h"
#include "platform/files.h"

namespace corvala {

uint32_t ConsoleWrite(const char* text) {
  HANDLE output = platform::GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD written = 0;
  // Without a console the write fails, and that is not reported.
  if (!platform::WriteFile(output, text, TextLength(text), &written, nullptr)) written = 0;
  return written;
}

KeyPress WaitKey() {
  platform::FlushConsoleInputBuffer(platform::GetStdHandle(STD_INPUT_HANDLE));
  int code = platform::_getch();
  if (code == 0 || code == 0xE0) return {platform::_getch(), 1};
  return {code, 0};
}

}  // namespace corvala
