#include "platform/text.h"

namespace platform {

int LCMapStringW(LCID locale, DWORD mapFlags, LPCWSTR source, int sourceLength, LPWSTR destination,
                 int destinationLength) {
  return ::LCMapStringW(locale, mapFlags, source, sourceLength, destination, destinationLength);
}

}  // namespace platform
