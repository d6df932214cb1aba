#include "platform/handles.h"

namespace platform {

BOOL CloseHandle(HANDLE handle) { return ::CloseHandle(handle); }

}  // namespace platform
