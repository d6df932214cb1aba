// For the POSIX backends: translating errno into the Windows last-error code.
#pragma once

#include "platform/types.h"

namespace platform::posix {

// The Windows code for an errno value (ENOENT gives ERROR_FILE_NOT_FOUND, EACCES
// ERROR_ACCESS_DENIED, ...); ERROR_GEN_FAILURE for values without a counterpart.
DWORD ErrorFromErrno(int errnoValue);
// SetLastError(ErrorFromErrno(errno)).
void SetLastErrorFromErrno();

}  // namespace platform::posix
