// Text mapping of the platform seam.
#pragma once

#include "platform/types.h"

namespace platform {

// Writes the lower-case (LCMAP_LOWERCASE) or upper-case (LCMAP_UPPERCASE) form of sourceLength
// units of source (-1: up to and including its zero unit), optionally with
// LCMAP_LINGUISTIC_CASING. Returns the units written, or with destinationLength 0 the units
// needed; 0 on failure with the last error set (ERROR_INSUFFICIENT_BUFFER,
// ERROR_INVALID_PARAMETER, ERROR_INVALID_FLAGS).
// POSIX maps by Unicode simple case mapping, the same whatever the locale and LANG say.
int LCMapStringW(LCID locale, DWORD mapFlags, LPCWSTR source, int sourceLength, LPWSTR destination,
                 int destinationLength);

}  // namespace platform
