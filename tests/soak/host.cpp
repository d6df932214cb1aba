#include "tests/soak/host.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#endif

namespace corvala::soak {

#ifdef _WIN32

uint64_t ResidentBytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return counters.WorkingSetSize;
}

void SilenceConsole() {
  HANDLE null = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (null != INVALID_HANDLE_VALUE) SetStdHandle(STD_OUTPUT_HANDLE, null);
}

#else

uint64_t ResidentBytes() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return 0;
  unsigned long long size = 0, resident = 0;
  const bool read = std::fscanf(statm, "%llu %llu", &size, &resident) == 2;
  std::fclose(statm);
  return read ? resident * static_cast<uint64_t>(sysconf(_SC_PAGESIZE)) : 0;
}

void SilenceConsole() {
  const int null = open("/dev/null", O_WRONLY);
  if (null < 0) return;
  dup2(null, STDOUT_FILENO);
  close(null);
}

#endif

}  // namespace corvala::soak
