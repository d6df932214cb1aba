#include "platform/crt.h"

namespace platform {

int _stricmp(const char* a, const char* b) {
  const unsigned char* x = reinterpret_cast<const unsigned char*>(a);
  const unsigned char* y = reinterpret_cast<const unsigned char*>(b);
  for (;; ++x, ++y) {
    // Only the ASCII letters fold, whatever the process locale: the C locale's mapping.
    const int cx = static_cast<unsigned>(*x - 'A') < 26u ? *x + 32 : *x;
    const int cy = static_cast<unsigned>(*y - 'A') < 26u ? *y + 32 : *y;
    if (cx != cy || cx == 0) return cx - cy;
  }
}

}  // namespace platform
