#include "platform/errors.h"

namespace platform {

DWORD GetLastError() { return ::GetLastError(); }
void SetLastError(DWORD code) { ::SetLastError(code); }

DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPSTR buffer,
                     DWORD size, va_list* arguments) {
  return ::FormatMessageA(flags, source, messageId, languageId, buffer, size, arguments);
}

BOOL IsBadStringPtrA(LPCSTR text, UINT_PTR maxChars) { return ::IsBadStringPtrA(text, maxChars); }

}  // namespace platform
