#include "platform/process.h"

#include <cstdio>
#include <cstring>

#include "platform/hooks.h"
#include "platform/plain_list.h"

namespace platform {

void ExitProcess(UINT exitCode) {
  // Nothing is left to report a failed flush to.
  (void)std::fflush(stdout);
  (void)std::fflush(stderr);
  hooks::RunExitHook(exitCode);
  (void)std::fflush(stdout);
  (void)std::fflush(stderr);
  ::ExitProcess(exitCode);
}

HMODULE GetModuleHandleA(LPCSTR moduleName) { return ::GetModuleHandleA(moduleName); }

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
  const char* hooked = hooks::ModulePath();
  if (*hooked == '\0') return ::GetModuleFileNameA(module, fileName, size);
  if (size == 0) return 0;
  size_t length = std::strlen(hooked);
  if (length >= size) length = size - 1;
  std::memcpy(fileName, hooked, length);
  fileName[length] = '\0';
  return static_cast<DWORD>(length);
}

}  // namespace platform

namespace platform {

LPSTR GetCommandLineA() {
  static PlainList<char> line;
  if (const char* hooked = hooks::CommandLine()) {
    line.Truncate(0);
    AppendText(line, hooked);
    return line.data();
  }
  return ::GetCommandLineA();
}

}  // namespace platform
