#include "platform/handles.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/errors.h"
#include "platform/plain_list.h"
#include "platform/posix/fd_handle.h"

namespace platform {
namespace posix {
namespace {

struct OpenFileSlot {
  bool open;
  OpenFile file;
};

// The files opened by CreateFileA, indexed by descriptor.
PlainList<OpenFileSlot>& OpenFiles() {
  static PlainList<OpenFileSlot> files;
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
  PlainList<OpenFileSlot>& files = OpenFiles();
  if (fd < 0 || static_cast<size_t>(fd) >= files.size() || !files[fd].open) return nullptr;
  return &files[fd].file;
}

void RegisterOpenFile(int fd, const OpenFile& file) {
  PlainList<OpenFileSlot>& files = OpenFiles();
  while (files.size() <= static_cast<size_t>(fd)) files.Append(OpenFileSlot{});
  files[fd] = {true, file};
}

void ForgetOpenFile(int fd) {
  PlainList<OpenFileSlot>& files = OpenFiles();
  if (fd >= 0 && static_cast<size_t>(fd) < files.size()) files[fd].open = false;
}

bool SharingConflict(dev_t device, ino_t inode, DWORD access, DWORD share) {
  for (const OpenFileSlot& slot : OpenFiles()) {
    const OpenFile& open = slot.file;
    if (!slot.open || open.device != device || open.inode != inode) continue;
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
