// Kernel object handles of the platform seam.
//
// On POSIX a file handle is the file descriptor plus one, so it is never 0 (no handle) nor
// INVALID_HANDLE_VALUE; platform/posix/file_handles.h converts between the two. Whatever
// opens a descriptor hands it out through HandleFromDescriptor, and CloseHandle closes it.
#pragma once

#include "platform/types.h"

namespace platform {

// FALSE with ERROR_INVALID_HANDLE for 0 and for a handle that is not open. On Windows,
// INVALID_HANDLE_VALUE names the current process and closing it has no effect; on POSIX it
// is refused the same harmless way.
BOOL CloseHandle(HANDLE handle);

}  // namespace platform
