#include "tests/support/runtime_test.h"

#include <cstdlib>
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
  return std::getenv("CORVALA_UNCAUGHT_ACCESS_VIOLATIONS") == nullptr;
}

}  // namespace corvala::testing
