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

// Converts length bytes of an 8-bit text in place to upper or lower case in the system's ANSI
// code page (a zero byte among them stays zero) and returns length.
// POSIX maps code page 1252 (Western) as a Western Windows system does: a-z and the accented
// letters 0xE0-0xFE change by 0x20 (but not 0xF7 and 0xD7, the division and multiplication
// signs), and 0x9A/0x8A, 0x9C/0x8C, 0x9E/0x8E and 0xFF/0x9F form pairs. Letters whose other
// case lies outside the code page (0xB5, 0xDF, 0x83...) stay as they are.
DWORD CharUpperBuffA(LPSTR text, DWORD length);
DWORD CharLowerBuffA(LPSTR text, DWORD length);

}  // namespace platform
