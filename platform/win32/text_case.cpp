// The ANSI case mapping of the text family (declared in platform/text.h).
#include "platform/text.h"

namespace platform {

DWORD CharUpperBuffA(LPSTR text, DWORD length) { return ::CharUpperBuffA(text, length); }
DWORD CharLowerBuffA(LPSTR text, DWORD length) { return ::CharLowerBuffA(text, length); }

}  // namespace platform
