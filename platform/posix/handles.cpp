#include "platform/handles.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <map>

#include "platform/errors.h"
#include "platform/posix/fd_handle.h"

namespace platform {
namespace posix {
namespace {

std::map<int, OpenFile>& OpenFiles() {
  static std::map<int, OpenFile> files;
  return files;
}

// Whether an access is allowed by a share mode.
bool Shares(DWORD share, DWORD access) {
  if ((access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return false;
  if ((access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return false;
  return true;
}

}  // namespace

HANDLE HandleFromFd(int fd) {
  return reinterpret_cast<HANDLE>((static_cast<uintptr_t>(fd) + 1) * 4);
}

int FdFromHandle(HANDLE handle) {
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  if (value < 4 || value % 4 != 0 || value / 4 - 1 > INT32_MAX) return -1;
  return static_cast<int>(value / 4 - 1);
}

const OpenFile* FindOpenFile(int fd) {
  auto it = OpenFiles().find(fd);
  return it == OpenFiles().end() ? nullptr : &it->second;
}

void RegisterOpenFile(int fd, const OpenFile& file) { OpenFiles()[fd] = file; }
void ForgetOpenFile(int fd) { OpenFiles().erase(fd); }

bool SharingConflict(dev_t device, ino_t inode, DWORD access, DWORD share) {
  for (const auto& [fd, open] : OpenFiles()) {
    if (open.device != device || open.inode != inode) continue;
    if (!Shares(open.share, access) || !Shares(share, open.access)) return true;
  }
  return false;
}

}  // namespace posix

BOOL CloseHandle(HANDLE handle) {
  int fd = posix::FdFromHandle(handle);
  if (fd < 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  posix::ForgetOpenFile(fd);
  if (close(fd) != 0) {
    SetLastError(posix::ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

}  // namespace platform
