#include "platform/process.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/hooks.h"

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
  const std::string& hooked = hooks::ModulePath();
  if (hooked.empty()) return ::GetModuleFileNameA(module, fileName, size);
  if (size == 0) return 0;
  size_t length = hooked.size() < size ? hooked.size() : size - 1;
  std::memcpy(fileName, hooked.data(), length);
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
  return ::GetCommandLineA();
}

}  // namespace platform
