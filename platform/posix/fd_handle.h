// How the POSIX backend represents handles: descriptors encoded as (fd + 1) * 4, and the
// table of files opened through CreateFileA with their access and share modes.
#pragma once

#include <sys/types.h>

#include "platform/types.h"

namespace platform::posix {

HANDLE HandleFromFd(int fd);
// The descriptor, or -1 for a value that encodes none (0, INVALID_HANDLE_VALUE, ...).
int FdFromHandle(HANDLE handle);

// A file opened by CreateFileA: which file, and the access and sharing it asked for.
struct OpenFile {
  dev_t device;
  ino_t inode;
  DWORD access;  // GENERIC_READ / GENERIC_WRITE
  DWORD share;   // FILE_SHARE_*
};

// The open file behind a descriptor, or null for one not opened by CreateFileA (standard
// input and output, for instance).
const OpenFile* FindOpenFile(int fd);
void RegisterOpenFile(int fd, const OpenFile& file);
void ForgetOpenFile(int fd);
// True when an open of this file with this access and share mode would clash with an open
// handle, as Windows refuses it with ERROR_SHARING_VIOLATION.
bool SharingConflict(dev_t device, ino_t inode, DWORD access, DWORD share);

// The Windows last-error code for an errno value.
DWORD ErrorFromErrno(int error);

}  // namespace platform::posix
