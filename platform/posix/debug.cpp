#include "platform/debug.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

BOOL IsDebuggerPresent() {
  // A traced process names its tracer in /proc/self/status.
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return FALSE;
  char line[256];
  long tracer = 0;
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::strncmp(line, "TracerPid:", 10) == 0) {
      tracer = std::strtol(line + 10, nullptr, 10);
      break;
    }
  }
  (void)std::fclose(status);
  return tracer != 0;
}

void DebugBreak() { (void)std::raise(SIGTRAP); }

}  // namespace platform
