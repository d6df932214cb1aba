// Case conversion of 8-bit texts in the system's ANSI code page.
//
// On POSIX the code page is 1252 (Western), mapped as a Western Windows system maps it:
// a-z and the accented letters 0xE0-0xFE change by 0x20 (0xF7 and 0xD7, the division and
// multiplication signs, do not), and 0x9A/0x8A, 0x9C/0x8C, 0x9E/0x8E, 0xFF/0x9F form pairs.
// Letters whose other case lies outside the code page (0xB5, 0xDF, 0x83...) stay as they are.
#pragma once

#include "platform/types.h"

namespace platform {

// Converts length bytes in place (a zero byte among them stays zero); returns length.
DWORD CharUpperBuffA(LPSTR text, DWORD length);
DWORD CharLowerBuffA(LPSTR text, DWORD length);

}  // namespace platform
