// Last-error codes, their system texts, and the readable-string probe of the platform seam.
#pragma once

#include <cstdarg>

#include "platform/types.h"

namespace platform {

// Every failing platform call sets the last error to its Windows code (ERROR_FILE_NOT_FOUND is
// 2 on both backends); the POSIX backend keeps it per thread, as Windows does.
DWORD GetLastError();
void SetLastError(DWORD code);

// On POSIX only FORMAT_MESSAGE_FROM_SYSTEM (with or without FORMAT_MESSAGE_IGNORE_INSERTS) is
// served: the Windows text of the codes the runtime can meet, each ending in "\r\n" as on
// Windows, and "Unknown error <code>.\r\n" for the rest. Returns the number of characters
// written without the terminating zero, or 0 (buffer too small, unsupported request).
DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPSTR buffer,
                     DWORD size, va_list* arguments);

// Non-zero when any byte of the text, up to its terminating zero or maxChars bytes, cannot
// be read. Never faults itself; on POSIX it probes through the kernel.
BOOL IsBadStringPtrA(LPCSTR text, UINT_PTR maxChars);

}  // namespace platform
