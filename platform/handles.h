// Kernel object handles of the platform seam.
//
// POSIX handles: a file handle is the descriptor encoded as (fd + 1) * 4, so it is a
// multiple of 4 like a Windows handle and can never be 0 or INVALID_HANDLE_VALUE, which the
// runtime's file table uses for "free" and "failed open". Any other value is no handle.
#pragma once

#include "platform/types.h"

namespace platform {

// Closes a handle. Closing 0, INVALID_HANDLE_VALUE or a value that is no open handle has no
// effect and fails with ERROR_INVALID_HANDLE.
BOOL CloseHandle(HANDLE handle);

}  // namespace platform
