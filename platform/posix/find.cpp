#include "platform/find.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/errors.h"
#include "platform/plain_list.h"
#include "platform/posix/fd_handle.h"

namespace platform {
namespace {

// File times count 100 ns from 1601-01-01; Unix time counts from 1970-01-01.
constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kUnixEpochTicks = 116444736000000000;

BOOL Fail(DWORD code) {
  SetLastError(code);
  return FALSE;
}

FILETIME FileTimeFrom(int64_t seconds, int64_t nanoseconds) {
  uint64_t ticks =
      static_cast<uint64_t>(seconds * kTicksPerSecond + nanoseconds / 100 + kUnixEpochTicks);
  return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// What both the search and the attribute query report about one file.
struct Properties {
  DWORD attributes;
  FILETIME creation, lastAccess, lastWrite;
  uint64_t size;
};

// -1 with errno set when the file cannot be looked at.
int ReadProperties(const char* path, Properties* out) {
  struct statx info;
  if (statx(AT_FDCWD, path, 0, STATX_BASIC_STATS | STATX_BTIME, &info) != 0) return -1;
  bool folder = S_ISDIR(info.stx_mode);
  out->attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  if (!(info.stx_mode & S_IWUSR)) out->attributes |= FILE_ATTRIBUTE_READONLY;
  const struct statx_timestamp& born =
      (info.stx_mask & STATX_BTIME) ? info.stx_btime : info.stx_mtime;
  out->creation = FileTimeFrom(born.tv_sec, born.tv_nsec);
  out->lastAccess = FileTimeFrom(info.stx_atime.tv_sec, info.stx_atime.tv_nsec);
  out->lastWrite = FileTimeFrom(info.stx_mtime.tv_sec, info.stx_mtime.tv_nsec);
  out->size = folder ? 0 : info.stx_size;
  return 0;
}

// A missing file, or a missing folder on the way to it, as Windows tells them apart.
// The folder part of a path: up to its last '/', or "/" itself.
size_t FolderLength(const char* path, const char* slash) {
  return slash == path ? 1 : static_cast<size_t>(slash - path);
}

DWORD LookupError(const char* path, int error) {
  if (error != ENOENT) return posix::ErrorFromErrno(error);
  const char* slash = std::strrchr(path, '/');
  if (slash == nullptr) return ERROR_FILE_NOT_FOUND;
  struct stat folder;
  char* folderPath = CopyText(path, FolderLength(path, slash));
  bool present = stat(folderPath, &folder) == 0 && S_ISDIR(folder.st_mode);
  std::free(folderPath);
  return present ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

bool HasWildcards(const char* text) { return std::strpbrk(text, "*?") != nullptr; }

// '*' matches any run, '?' one character; backtracks to the last '*' on a mismatch.
bool MatchesWildcards(const char* pattern, const char* name) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name != '\0') {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' || *pattern == *name) {
      ++pattern;
      ++name;
    } else if (star != nullptr) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

// A final ".*" may also match nothing, so "*.*" matches names without a dot.
bool Matches(const char* pattern, const char* name) {
  if (MatchesWildcards(pattern, name)) return true;
  size_t n = std::strlen(pattern);
  if (n < 2 || std::strcmp(pattern + n - 2, ".*") != 0) return false;
  char* shorter = CopyText(pattern, n - 2);
  bool matches = MatchesWildcards(shorter, name);
  std::free(shorter);
  return matches;
}

// Names in the order an NTFS folder lists them: compared as upper case.
bool ListsBefore(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    unsigned char ux = (x >= 'a' && x <= 'z') ? x - 32 : x;
    unsigned char uy = (y >= 'a' && y <= 'z') ? y - 32 : y;
    if (ux != uy) return ux < uy;
    if (x == 0) return std::strcmp(a, b) < 0;
  }
}

// Search handles are odd, so they never look like a file handle (a multiple of 4).
PlainList<uintptr_t>& OpenSearches() {
  static PlainList<uintptr_t> searches;
  return searches;
}

HANDLE NewSearchHandle() {
  static uintptr_t next = 0;
  uintptr_t handle = (++next << 4) | 1;
  OpenSearches().Append(handle);
  return reinterpret_cast<HANDLE>(handle);
}

void FillFindData(const Properties& p, const char* name, LPWIN32_FIND_DATAA data) {
  std::memset(data, 0, sizeof *data);
  data->dwFileAttributes = p.attributes;
  data->ftCreationTime = p.creation;
  data->ftLastAccessTime = p.lastAccess;
  data->ftLastWriteTime = p.lastWrite;
  data->nFileSizeHigh = static_cast<DWORD>(p.size >> 32);
  data->nFileSizeLow = static_cast<DWORD>(p.size);
  std::strncpy(data->cFileName, name, sizeof data->cFileName - 1);
}

// The first name that matches the last part of a pattern, in listing order.
DWORD FindFirstMatch(const char* folder, const char* last, PlainList<char>& found) {
  if (!HasWildcards(last)) {
    AppendText(found, last);
    return NO_ERROR;
  }
  DIR* listing = opendir(folder);
  if (listing == nullptr) return posix::ErrorFromErrno(errno);
  bool any = false;
  while (const dirent* entry = readdir(listing)) {
    if (!Matches(last, entry->d_name)) continue;
    if (!any || ListsBefore(entry->d_name, found.data())) {
      found.Truncate(0);
      AppendText(found, entry->d_name);
    }
    any = true;
  }
  closedir(listing);
  return any ? NO_ERROR : ERROR_FILE_NOT_FOUND;
}

DWORD FindFirst(const char* path, LPWIN32_FIND_DATAA data) {
  const char* slash = std::strrchr(path, '/');
  PlainList<char> folder;
  AppendText(folder, slash == nullptr ? "." : path,
             slash == nullptr ? 1 : FolderLength(path, slash));
  const char* last = slash == nullptr ? path : slash + 1;
  PlainList<char> found;
  DWORD error = NO_ERROR;
  struct stat folderInfo;
  if (stat(folder.data(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode)) {
    error = ERROR_PATH_NOT_FOUND;
  } else if (*last == '\0') {
    error = ERROR_FILE_NOT_FOUND;
  } else {
    error = FindFirstMatch(folder.data(), last, found);
  }
  if (error == NO_ERROR) {
    AppendText(folder, "/");
    AppendText(folder, found.data());
    Properties properties;
    if (ReadProperties(folder.data(), &properties) != 0) {
      // The folder was seen: a missing name is a missing file.
      error = errno == ENOTDIR ? ERROR_FILE_NOT_FOUND : posix::ErrorFromErrno(errno);
    } else {
      FillFindData(properties, found.data(), data);
    }
  }
  folder.Release();
  found.Release();
  return error;
}

}  // namespace

HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
  DWORD error = FindFirst(pattern != nullptr ? pattern : "", data);
  if (error != NO_ERROR) return Fail(error), INVALID_HANDLE_VALUE;
  return NewSearchHandle();
}

BOOL FindClose(HANDLE search) {
  PlainList<uintptr_t>& searches = OpenSearches();
  size_t at = searches.IndexOf(reinterpret_cast<uintptr_t>(search));
  if (at == searches.size()) return Fail(ERROR_INVALID_HANDLE);
  searches.Erase(at);
  return TRUE;
}

BOOL GetFileSizeEx(HANDLE file, PLARGE_INTEGER size) {
  int fd = posix::FdFromHandle(file);
  struct stat info;
  if (fd < 0) return Fail(ERROR_INVALID_HANDLE);
  if (fstat(fd, &info) != 0) return Fail(posix::ErrorFromErrno(errno));
  size->QuadPart = S_ISDIR(info.st_mode) ? 0 : info.st_size;
  return TRUE;
}

BOOL GetFileAttributesExA(LPCSTR name, GET_FILEEX_INFO_LEVELS level, LPVOID information) {
  if (level != GetFileExInfoStandard || information == nullptr) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if (name == nullptr || HasWildcards(name)) return Fail(ERROR_INVALID_NAME);
  Properties p;
  if (ReadProperties(name, &p) != 0) {
    return Fail(LookupError(name, errno));
  }
  auto* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(information);
  data->dwFileAttributes = p.attributes;
  data->ftCreationTime = p.creation;
  data->ftLastAccessTime = p.lastAccess;
  data->ftLastWriteTime = p.lastWrite;
  data->nFileSizeHigh = static_cast<DWORD>(p.size >> 32);
  data->nFileSizeLow = static_cast<DWORD>(p.size);
  return TRUE;
}

}  // namespace platform
