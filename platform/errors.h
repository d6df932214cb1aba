// The calling thread's last-error code of the platform seam.
#pragma once

#include "platform/types.h"

namespace platform {

// Every failing platform call sets the last error to its Windows code (ERROR_FILE_NOT_FOUND is
// 2 on both backends); the POSIX backend keeps it per thread, as Windows does.
DWORD GetLastError();
void SetLastError(DWORD code);

}  // namespace platform
