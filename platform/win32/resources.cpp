#include "platform/resources.h"

namespace platform {

int LoadStringA(HINSTANCE module, UINT id, LPSTR buffer, int max) {
  return ::LoadStringA(module, id, buffer, max);
}

int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int max) {
  return ::LoadStringW(module, id, buffer, max);
}

// The program's .rc file is compiled into its module: nothing to keep.
void RegisterStringTable(const StringResource*, size_t) {}

}  // namespace platform
