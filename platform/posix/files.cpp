#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/errors.h"
#include "platform/hooks.h"
#include "platform/plain_list.h"
#include "platform/posix/fd_handle.h"
#include "platform/process.h"

namespace platform {
namespace {

// Characters no Windows file name may hold (the colon aside, which names a drive or a
// stream there): a name with one fails as it would on Windows instead of creating a file
// that Windows could not open.
bool HasInvalidNameCharacters(const char* name) {
  for (const char* p = name; *p != '\0'; ++p) {
    if (static_cast<unsigned char>(*p) < 32 || std::strchr("<>\"|?*", *p) != nullptr) return true;
  }
  return false;
}

using posix::ErrorFromErrno;
using posix::FdFromHandle;

// File times count 100 ns from 1601-01-01; Unix time counts from 1970-01-01.
constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kUnixEpochTicks = 116444736000000000;

bool Fail(DWORD code) {
  SetLastError(code);
  return false;
}

// A missing file, or a missing folder on the way to it, as Windows tells them apart.
DWORD MissingError(const char* name) {
  const char* slash = std::strrchr(name, '/');
  if (slash == nullptr) return ERROR_FILE_NOT_FOUND;
  char* folder = CopyText(name, slash == name ? 1 : static_cast<size_t>(slash - name));
  struct stat info;
  bool present = stat(folder, &info) == 0 && S_ISDIR(info.st_mode);
  std::free(folder);
  return present ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

DWORD OpenError(const char* name, int error) {
  return error == ENOENT ? MissingError(name) : ErrorFromErrno(error);
}

// The descriptor of an open handle, checked for the access the call needs when the handle
// came from CreateFileA; -1 with the last error set otherwise.
int CheckedFd(HANDLE handle, DWORD access) {
  int fd = FdFromHandle(handle);
  if (fd < 0) return Fail(ERROR_INVALID_HANDLE), -1;
  const posix::OpenFile* file = posix::FindOpenFile(fd);
  if (file != nullptr && (file->access & access) != access) return Fail(ERROR_ACCESS_DENIED), -1;
  return fd;
}

int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;  // days since 1970-01-01
}

bool IsLeapYear(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

timespec TimespecFromFileTime(const FILETIME* time) {
  if (time == nullptr) return {0, UTIME_OMIT};
  uint64_t ticks = (static_cast<uint64_t>(time->dwHighDateTime) << 32) | time->dwLowDateTime;
  int64_t unixTicks = static_cast<int64_t>(ticks - static_cast<uint64_t>(kUnixEpochTicks));
  int64_t seconds = unixTicks / kTicksPerSecond;
  int64_t rest = unixTicks % kTicksPerSecond;
  if (rest < 0) {
    rest += kTicksPerSecond;
    --seconds;
  }
  return {static_cast<time_t>(seconds), static_cast<long>(rest * 100)};
}

bool HasExtension(const char* name) {
  const char* dot = std::strrchr(name, '.');
  return dot != nullptr && std::strchr(dot, '/') == nullptr;
}

bool IsSearchHit(const char* path) {
  struct stat info;
  return stat(path, &info) == 0 && !S_ISDIR(info.st_mode);
}

// Whether the folder (taken from the current folder when relative) holds name as a file; the
// path tried is left in path.
bool FoundInFolder(const char* folder, size_t length, const char* name, PlainList<char>& path) {
  path.Truncate(0);
  if (folder[0] != '/') {
    char current[4096];
    AppendText(path, getcwd(current, sizeof current) ? current : ".");
    AppendText(path, "/");
  }
  AppendText(path, folder, length);
  if (path.back() != '/') AppendText(path, "/");
  AppendText(path, name);
  return IsSearchHit(path.data());
}

// The same for each folder of a list separated by ';' or ':' in turn; empty ones are skipped.
bool FoundInFolders(const char* list, const char* name, PlainList<char>& path) {
  const char* start = list;
  for (const char* p = list;; ++p) {
    if (*p != ';' && *p != ':' && *p != '\0') continue;
    if (p > start && FoundInFolder(start, static_cast<size_t>(p - start), name, path)) return true;
    if (*p == '\0') return false;
    start = p + 1;
  }
}

// The standard order: the program's folder, the current folder, then the folders of PATH.
bool FoundAlongStandardOrder(const char* name, PlainList<char>& path) {
  char program[4096];
  const char* slash =
      GetModuleFileNameA(nullptr, program, sizeof program) ? std::strrchr(program, '/') : nullptr;
  if (slash != nullptr) {
    size_t folderLength = slash == program ? 1 : static_cast<size_t>(slash - program);
    if (FoundInFolder(program, folderLength, name, path)) return true;
  }
  char current[4096];
  const char* folder = getcwd(current, sizeof current) ? current : ".";
  if (FoundInFolder(folder, std::strlen(folder), name, path)) return true;
  const char* pathVariable = std::getenv("PATH");
  return pathVariable != nullptr && FoundInFolders(pathVariable, name, path);
}

}  // namespace

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES,
                   DWORD creationDisposition, DWORD, HANDLE) {
  if (fileName == nullptr) return Fail(ERROR_INVALID_PARAMETER), INVALID_HANDLE_VALUE;
  if (*fileName == '\0') return Fail(ERROR_PATH_NOT_FOUND), INVALID_HANDLE_VALUE;
  if (HasInvalidNameCharacters(fileName)) return Fail(ERROR_INVALID_NAME), INVALID_HANDLE_VALUE;
  const bool reads = desiredAccess & GENERIC_READ;
  const bool writes = desiredAccess & GENERIC_WRITE;
  int flags = O_CLOEXEC | (writes ? (reads ? O_RDWR : O_WRONLY) : O_RDONLY);
  bool creates = false, truncates = false;
  switch (creationDisposition) {
    case CREATE_NEW:
      flags |= O_CREAT | O_EXCL;
      break;
    case CREATE_ALWAYS:
      creates = truncates = true;
      break;
    case OPEN_EXISTING:
      break;
    case OPEN_ALWAYS:
      creates = true;
      break;
    case TRUNCATE_EXISTING:
      if (!writes) return Fail(ERROR_INVALID_PARAMETER), INVALID_HANDLE_VALUE;
      truncates = true;
      break;
    default:
      return Fail(ERROR_INVALID_PARAMETER), INVALID_HANDLE_VALUE;
  }

  // A FIFO opened for reading and writing takes writes while no reader is there, and they
  // are lost when it closes: opened for writing only, it waits for its reader.
  struct stat existing;
  if (writes && stat(fileName, &existing) == 0 && S_ISFIFO(existing.st_mode)) {
    flags = (flags & ~O_ACCMODE) | O_WRONLY;
  }
  // Open without creating first, to know whether the file existed and to check sharing
  // before anything is truncated.
  int fd = open(fileName, flags, 0666);
  bool existed = fd >= 0;
  if (fd < 0 && errno == ENOENT && creates) fd = open(fileName, flags | O_CREAT | O_EXCL, 0666);
  if (fd < 0) {
    DWORD error = errno == EEXIST ? ERROR_FILE_EXISTS : OpenError(fileName, errno);
    return Fail(error), INVALID_HANDLE_VALUE;
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    close(fd);
    return Fail(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
  }
  if (posix::SharingConflict(info.st_dev, info.st_ino, desiredAccess, shareMode)) {
    close(fd);
    return Fail(ERROR_SHARING_VIOLATION), INVALID_HANDLE_VALUE;
  }
  // Only a regular file has contents to empty; a FIFO or a device opens as it is.
  if (truncates && S_ISREG(info.st_mode) && ftruncate(fd, 0) != 0) {
    DWORD error = ErrorFromErrno(errno);
    close(fd);
    return Fail(error), INVALID_HANDLE_VALUE;
  }
  posix::RegisterOpenFile(fd, {info.st_dev, info.st_ino, desiredAccess, shareMode});
  bool reportsExisting =
      existed && (creationDisposition == CREATE_ALWAYS || creationDisposition == OPEN_ALWAYS);
  SetLastError(reportsExisting ? ERROR_ALREADY_EXISTS : NO_ERROR);
  return posix::HandleFromFd(fd);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD bytesRead,
              LPOVERLAPPED overlapped) {
  if (bytesRead != nullptr) *bytesRead = 0;
  int fd = CheckedFd(file, GENERIC_READ);
  if (fd < 0) return FALSE;
  if (overlapped != nullptr || (buffer == nullptr && toRead > 0)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  unsigned long limit;
  if (hooks::TakeReadLimit(&limit) && limit < toRead) toRead = static_cast<DWORD>(limit);
  // A disk file delivers the whole count unless its end comes first, so read on after
  // short reads (the system caps one read at about 2 GB).
  DWORD done = 0;
  while (done < toRead) {
    ssize_t n = read(fd, static_cast<char*>(buffer) + done, toRead - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (bytesRead != nullptr) *bytesRead = done;
      return Fail(ErrorFromErrno(errno));
    }
    if (n == 0) break;
    done += static_cast<DWORD>(n);
  }
  if (bytesRead != nullptr) *bytesRead = done;
  return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD bytesWritten,
               LPOVERLAPPED overlapped) {
  if (bytesWritten != nullptr) *bytesWritten = 0;
  int fd = CheckedFd(file, GENERIC_WRITE);
  if (fd < 0) return FALSE;
  if (overlapped != nullptr || (buffer == nullptr && toWrite > 0)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  DWORD done = 0;
  while (done < toWrite) {
    ssize_t n = write(fd, static_cast<const char*>(buffer) + done, toWrite - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (bytesWritten != nullptr) *bytesWritten = done;
      return Fail(n == 0 ? ERROR_DISK_FULL : ErrorFromErrno(errno));
    }
    done += static_cast<DWORD>(n);
  }
  if (bytesWritten != nullptr) *bytesWritten = done;
  return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD moveMethod) {
  int fd = CheckedFd(file, 0);
  if (fd < 0) return INVALID_SET_FILE_POINTER;
  int64_t move = distanceHigh != nullptr
                     ? static_cast<int64_t>((static_cast<uint64_t>(*distanceHigh) << 32) |
                                            static_cast<uint32_t>(distance))
                     : static_cast<int64_t>(distance);
  int64_t origin;
  switch (moveMethod) {
    case FILE_BEGIN:
      origin = 0;
      break;
    case FILE_CURRENT:
      origin = lseek(fd, 0, SEEK_CUR);
      break;
    case FILE_END: {
      struct stat info;
      origin = fstat(fd, &info) == 0 ? info.st_size : -1;
      break;
    }
    default:
      return Fail(ERROR_INVALID_PARAMETER), INVALID_SET_FILE_POINTER;
  }
  if (origin < 0) return Fail(ErrorFromErrno(errno)), INVALID_SET_FILE_POINTER;
  int64_t target = origin + move;
  if (target < 0) return Fail(ERROR_NEGATIVE_SEEK), INVALID_SET_FILE_POINTER;
  // Without a high half the new position must fit the one 32-bit result.
  if (distanceHigh == nullptr && target > 0xFFFFFFFE) {
    return Fail(ERROR_INVALID_PARAMETER), INVALID_SET_FILE_POINTER;
  }
  if (lseek(fd, static_cast<off_t>(target), SEEK_SET) < 0) {
    return Fail(ErrorFromErrno(errno)), INVALID_SET_FILE_POINTER;
  }
  if (distanceHigh != nullptr) *distanceHigh = static_cast<LONG>(target >> 32);
  SetLastError(NO_ERROR);
  return static_cast<DWORD>(target);
}

DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh) {
  int fd = CheckedFd(file, 0);
  if (fd < 0) return INVALID_FILE_SIZE;
  struct stat info;
  if (fstat(fd, &info) != 0) return Fail(ErrorFromErrno(errno)), INVALID_FILE_SIZE;
  uint64_t size = static_cast<uint64_t>(info.st_size);
  if (sizeHigh != nullptr) *sizeHigh = static_cast<DWORD>(size >> 32);
  SetLastError(NO_ERROR);
  return static_cast<DWORD>(size);
}

DWORD GetFileType(HANDLE file) {
  int fd = CheckedFd(file, 0);
  if (fd < 0) return FILE_TYPE_UNKNOWN;
  struct stat info;
  if (fstat(fd, &info) != 0) return Fail(ErrorFromErrno(errno)), FILE_TYPE_UNKNOWN;
  SetLastError(NO_ERROR);
  if (S_ISREG(info.st_mode) || S_ISBLK(info.st_mode)) return FILE_TYPE_DISK;
  if (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)) return FILE_TYPE_PIPE;
  if (S_ISCHR(info.st_mode)) return FILE_TYPE_CHAR;
  return FILE_TYPE_UNKNOWN;
}

DWORD SearchPathA(LPCSTR path, LPCSTR fileName, LPCSTR extension, DWORD bufferLength, LPSTR buffer,
                  LPSTR* filePart) {
  if (fileName == nullptr || *fileName == '\0') return Fail(ERROR_INVALID_PARAMETER), 0;
  PlainList<char> name;
  AppendText(name, fileName);
  if (extension != nullptr && !HasExtension(fileName)) AppendText(name, extension);

  PlainList<char> found;
  bool hit;
  if (fileName[0] == '/') {
    AppendText(found, name.data());
    hit = IsSearchHit(found.data());
  } else if (path != nullptr) {
    hit = FoundInFolders(path, name.data(), found);
  } else {
    hit = FoundAlongStandardOrder(name.data(), found);
  }
  DWORD result;
  if (!hit) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    result = 0;
  } else {
    DWORD length = static_cast<DWORD>(found.size());
    if (buffer == nullptr || length + 1 > bufferLength) {
      result = length + 1;
    } else {
      std::memcpy(buffer, found.data(), length + 1);
      if (filePart != nullptr) *filePart = std::strrchr(buffer, '/') + 1;
      result = length;
    }
  }
  name.Release();
  found.Release();
  return result;
}

void GetSystemTime(LPSYSTEMTIME systemTime) {
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  tm utc;
  gmtime_r(&now.tv_sec, &utc);
  systemTime->wYear = static_cast<WORD>(utc.tm_year + 1900);
  systemTime->wMonth = static_cast<WORD>(utc.tm_mon + 1);
  systemTime->wDayOfWeek = static_cast<WORD>(utc.tm_wday);
  systemTime->wDay = static_cast<WORD>(utc.tm_mday);
  systemTime->wHour = static_cast<WORD>(utc.tm_hour);
  systemTime->wMinute = static_cast<WORD>(utc.tm_min);
  systemTime->wSecond = static_cast<WORD>(utc.tm_sec);
  systemTime->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime) {
  static const unsigned kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const SYSTEMTIME& t = *systemTime;
  if (t.wYear < 1601 || t.wYear > 30827 || t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 ||
      t.wHour > 23 || t.wMinute > 59 || t.wSecond > 59 || t.wMilliseconds > 999) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  unsigned monthDays = kDaysInMonth[t.wMonth - 1] + (t.wMonth == 2 && IsLeapYear(t.wYear));
  if (t.wDay > monthDays) return Fail(ERROR_INVALID_PARAMETER);
  int64_t days = DaysFromCivil(t.wYear, t.wMonth, t.wDay) - DaysFromCivil(1601, 1, 1);
  int64_t seconds = days * 86400 + int64_t{t.wHour} * 3600 + int64_t{t.wMinute} * 60 + t.wSecond;
  uint64_t ticks =
      static_cast<uint64_t>(seconds * kTicksPerSecond + int64_t{t.wMilliseconds} * 10000);
  fileTime->dwLowDateTime = static_cast<DWORD>(ticks);
  fileTime->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return TRUE;
}

BOOL SetFileTime(HANDLE file, const FILETIME*, const FILETIME* lastAccessTime,
                 const FILETIME* lastWriteTime) {
  int fd = CheckedFd(file, GENERIC_WRITE);
  if (fd < 0) return FALSE;
  // No settable creation time here: only access and write times are set.
  const timespec times[2] = {TimespecFromFileTime(lastAccessTime),
                             TimespecFromFileTime(lastWriteTime)};
  if (futimens(fd, times) != 0) return Fail(ErrorFromErrno(errno));
  return TRUE;
}

}  // namespace platform
