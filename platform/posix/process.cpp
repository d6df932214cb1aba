#include "platform/process.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/hooks.h"

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
  const std::string& hooked = hooks::ModulePath();
  if (!hooked.empty()) {
    length = hooked.size() < sizeof path ? hooked.size() : sizeof path - 1;
    std::memcpy(path, hooked.data(), length);
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

LPSTR GetCommandLineA() {
  static std::string line;
  if (const std::string* hooked = hooks::CommandLine()) {
    line = *hooked;
    return line.data();
  }
  static bool read = false;
  static std::string own;
  if (!read) {
    read = true;
    std::FILE* f = std::fopen("/proc/self/cmdline", "rb");
    std::string raw;
    if (f) {
      char buffer[4096];
      size_t n;
      while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) raw.append(buffer, n);
      (void)std::fclose(f);
    }
    size_t start = 0;
    while (start < raw.size()) {
      size_t end = raw.find('\0', start);
      if (end == std::string::npos) end = raw.size();
      std::string arg = raw.substr(start, end - start);
      if (!own.empty()) own += ' ';
      bool quote = arg.empty() || arg.find_first_of(" \t") != std::string::npos;
      own += quote ? "\"" + arg + "\"" : arg;
      start = end + 1;
    }
  }
  line = own;
  return line.data();
}

}  // namespace platform
