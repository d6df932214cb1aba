#include "platform/handles.h"

#include <unistd.h>

#include "platform/errors.h"
#include "platform/posix/file_handles.h"
#include "platform/posix/last_error.h"

namespace platform {

BOOL CloseHandle(HANDLE handle) {
  int descriptor = posix::DescriptorFromHandle(handle);
  if (descriptor < 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (close(descriptor) != 0) {
    posix::SetLastErrorFromErrno();
    return FALSE;
  }
  return TRUE;
}

}  // namespace platform
