#include "tests/support/runtime_test.h"

#include <cstring>

#include "platform/errors.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace corvala::testing {

std::string ShownBoxPattern(const std::string& caption, const std::string& text) {
  std::string pattern;
  for (char c : caption + "\n" + text + "\n") {
    if (c != '\0' && std::strchr("^$.*+?()[]{}|\\", c) != nullptr) pattern += '\\';
    pattern += c;
  }
  return pattern;
}

std::string SystemErrorText(unsigned long code) {
  char text[1024] = {};
  platform::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
  return text;
}

bool RunningUnderWine() {
#ifdef _WIN32
  // Wine's ntdll exports its version; Windows' does not.
  HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

bool AccessViolationsAreCaught() {
#ifdef _WIN32
  static const bool caught = [] {
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* folderEnd = std::strrchr(path, '\\');
    static const char kProbe[] = "caught_access_violation.exe";
    if (length == 0 || length >= MAX_PATH || folderEnd == nullptr ||
        folderEnd + sizeof kProbe >= path + MAX_PATH) {
      return true;  // no probe to ask: the tests run and show what happens
    }
    std::memcpy(folderEnd + 1, kProbe, sizeof kProbe);
    if (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return true;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
      return true;
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code == 0;
  }();
  return caught;
#else
  return true;  // the POSIX layer reads through the kernel, which reports a bad address
#endif
}

}  // namespace corvala::testing
