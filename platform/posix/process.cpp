#include "platform/process.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/hooks.h"
#include "platform/plain_list.h"

#ifdef CORVALA_COVERAGE
// _exit skips the exit handler that writes a coverage build's counts: write them first.
extern "C" void __gcov_dump(void);  // NOLINT(bugprone-reserved-identifier): gcc's own name
#endif

namespace platform {

void ExitProcess(UINT exitCode) {
  // Nothing is left to report a failed flush to.
  (void)std::fflush(stdout);
  (void)std::fflush(stderr);
  hooks::RunExitHook(exitCode);
  (void)std::fflush(stdout);
  (void)std::fflush(stderr);
#ifdef CORVALA_COVERAGE
  __gcov_dump();
#endif
  _exit(static_cast<int>(exitCode));
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  // The program's own module is the only one the runtime asks for.
  static char self;
  return moduleName ? nullptr : reinterpret_cast<HMODULE>(&self);
}

DWORD GetModuleFileNameA(HMODULE, LPSTR fileName, DWORD size) {
  if (size == 0) return 0;
  char path[4096];
  size_t length;
  const char* hooked = hooks::ModulePath();
  if (*hooked != '\0') {
    length = std::strlen(hooked);
    if (length >= sizeof path) length = sizeof path - 1;
    std::memcpy(path, hooked, length);
  } else {
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return 0;
    length = static_cast<size_t>(n);
  }
  // As on Windows: a path that does not fit is cut and still terminated.
  if (length >= size) length = size - 1;
  std::memcpy(fileName, path, length);
  fileName[length] = '\0';
  return static_cast<DWORD>(length);
}

}  // namespace platform

namespace platform {

namespace {

// The process's own command line from /proc/self/cmdline: its arguments joined by spaces,
// each one that is empty or holds a space or tab in double quotes.
void ReadOwnCommandLine(PlainList<char>& line) {
  std::FILE* f = std::fopen("/proc/self/cmdline", "rb");
  PlainList<char> raw;
  if (f) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) raw.Append(buffer, n);
    (void)std::fclose(f);
  }
  AppendText(line, "");
  size_t start = 0;
  while (start < raw.size()) {
    size_t end = start;
    while (end < raw.size() && raw[end] != '\0') ++end;
    const char* arg = raw.data() + start;
    size_t length = end - start;
    if (start != 0) AppendText(line, " ");
    bool quote = length == 0 || std::memchr(arg, ' ', length) || std::memchr(arg, '\t', length);
    if (quote) AppendText(line, "\"");
    AppendText(line, arg, length);
    if (quote) AppendText(line, "\"");
    start = end + 1;
  }
  raw.Release();
}

}  // namespace

// The text is handed out in a buffer of its own, refilled on each call.
LPSTR GetCommandLineA() {
  static PlainList<char> line;
  static PlainList<char> own;
  static bool read = false;
  const char* source = hooks::CommandLine();
  if (source == nullptr) {
    if (!read) {
      read = true;
      ReadOwnCommandLine(own);
    }
    source = TextOf(own);
  }
  line.Truncate(0);
  AppendText(line, source);
  return line.data();
}

}  // namespace platform
