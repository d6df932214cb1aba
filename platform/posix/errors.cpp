#include "platform/errors.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/posix/fd_handle.h"

namespace platform {
namespace {

thread_local DWORD lastError = NO_ERROR;

struct SystemText {
  DWORD code;
  const char* text;
};

// The Windows texts of the codes the runtime can meet.
constexpr SystemText kSystemTexts[] = {
    {ERROR_SUCCESS, "The operation completed successfully."},
    {ERROR_INVALID_FUNCTION, "Incorrect function."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
    {ERROR_TOO_MANY_OPEN_FILES, "The system cannot open the file."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_INVALID_HANDLE, "The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command."},
    {ERROR_OUTOFMEMORY, "Not enough memory resources are available to complete this operation."},
    {ERROR_NOT_SAME_DEVICE, "The system cannot move the file to a different disk drive."},
    {ERROR_NO_MORE_FILES, "There are no more files."},
    {ERROR_WRITE_PROTECT, "The media is write protected."},
    {ERROR_GEN_FAILURE, "A device attached to the system is not functioning."},
    {ERROR_SHARING_VIOLATION,
     "The process cannot access the file because it is being used by another process."},
    {ERROR_LOCK_VIOLATION,
     "The process cannot access the file because another process has locked a portion of the "
     "file."},
    {ERROR_HANDLE_EOF, "Reached the end of the file."},
    {ERROR_HANDLE_DISK_FULL, "The disk is full."},
    {ERROR_NOT_SUPPORTED, "The request is not supported."},
    {ERROR_FILE_EXISTS, "The file exists."},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {ERROR_BROKEN_PIPE, "The pipe has been ended."},
    {ERROR_DISK_FULL, "There is not enough space on the disk."},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small."},
    {ERROR_INVALID_NAME, "The filename, directory name, or volume label syntax is incorrect."},
    {ERROR_NEGATIVE_SEEK,
     "An attempt was made to move the file pointer before the beginning of the file."},
    {ERROR_DIR_NOT_EMPTY, "The directory is not empty."},
    {ERROR_ALREADY_EXISTS, "Cannot create a file when that file already exists."},
    {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long."},
    {ERROR_DIRECTORY, "The directory name is invalid."},
    {ERROR_NOACCESS, "Invalid access to memory location."},
    {ERROR_INVALID_FLAGS, "Invalid flags."},
    {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle."},
    {ERROR_TLW_WITH_WSCHILD, "Cannot create a top-level child window."},
    {ERROR_CANNOT_FIND_WND_CLASS, "Cannot find window class."},
    {ERROR_CLASS_ALREADY_EXISTS, "Class already exists."},
    {ERROR_CLASS_DOES_NOT_EXIST, "Class does not exist."},
    {ERROR_RESOURCE_DATA_NOT_FOUND, "The specified image file did not contain a resource section."},
    {ERROR_RESOURCE_TYPE_NOT_FOUND,
     "The specified resource type cannot be found in the image file."},
    {ERROR_RESOURCE_NAME_NOT_FOUND,
     "The specified resource name cannot be found in the image file."},
    {ERROR_RESOURCE_LANG_NOT_FOUND,
     "The specified resource language ID cannot be found in the image file."},
};

// Raw system calls: the sanitizers' interceptors would check the very bytes being probed.
bool CopyThroughPipe(int pipeIn, int pipeOut, const char* from, char* to, size_t bytes) {
  long written = syscall(SYS_write, pipeIn, from, bytes);
  if (written != static_cast<long>(bytes)) return false;
  return syscall(SYS_read, pipeOut, to, bytes) == static_cast<long>(bytes);
}

}  // namespace

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

DWORD FormatMessageA(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPSTR buffer, DWORD size,
                     va_list*) {
  if ((flags & (FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_FROM_STRING |
                FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER)) !=
          FORMAT_MESSAGE_FROM_SYSTEM ||
      buffer == nullptr) {
    lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  char generic[48];
  const char* text = nullptr;
  for (const SystemText& known : kSystemTexts) {
    if (known.code == messageId) text = known.text;
  }
  if (text == nullptr) {
    (void)std::snprintf(generic, sizeof generic, "Unknown error %u.",
                        static_cast<unsigned>(messageId));
    text = generic;
  }
  size_t length = std::strlen(text) + 2;  // with the line break that ends every system text
  if (length + 1 > size) {
    lastError = ERROR_INSUFFICIENT_BUFFER;
    return 0;
  }
  std::memcpy(buffer, text, length - 2);
  std::memcpy(buffer + length - 2, "\r\n", 3);
  return static_cast<DWORD>(length);
}

BOOL IsBadStringPtrA(LPCSTR text, UINT_PTR maxChars) {
  if (text == nullptr) return TRUE;
  if (maxChars == 0) return FALSE;
  // Every byte is read through the kernel, which reports an unreadable one as EFAULT instead
  // of faulting. Chunks never cross a page boundary, so each is wholly readable or not.
  int pipe[2];
  if (pipe2(pipe, O_CLOEXEC) != 0) return TRUE;
  const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  uintptr_t at = reinterpret_cast<uintptr_t>(text);
  UINT_PTR left = maxChars;
  BOOL bad = FALSE;
  char chunk[256];
  while (left > 0) {
    uintptr_t toPageEnd = page - at % page;
    size_t bytes = sizeof chunk;
    if (bytes > toPageEnd) bytes = toPageEnd;
    if (bytes > left) bytes = left;
    if (!CopyThroughPipe(pipe[1], pipe[0], reinterpret_cast<const char*>(at), chunk, bytes)) {
      bad = TRUE;
      break;
    }
    if (std::memchr(chunk, 0, bytes) != nullptr) break;
    at += bytes;
    left -= bytes;
  }
  close(pipe[0]);
  close(pipe[1]);
  return bad;
}

namespace posix {

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case 0:
      return NO_ERROR;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EROFS:
      return ERROR_WRITE_PROTECT;
    case EEXIST:
      return ERROR_FILE_EXISTS;
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    default:
      return ERROR_INVALID_PARAMETER;
  }
}

}  // namespace posix
}  // namespace platform
