#include "platform/find.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>

#include "platform/errors.h"
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
DWORD LookupError(const std::string& path, int error) {
  if (error != ENOENT) return posix::ErrorFromErrno(error);
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ERROR_FILE_NOT_FOUND;
  struct stat folder;
  std::string folderPath = path.substr(0, slash == 0 ? 1 : slash);
  bool present = stat(folderPath.c_str(), &folder) == 0 && S_ISDIR(folder.st_mode);
  return present ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

bool HasWildcards(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

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
bool Matches(const std::string& pattern, const char* name) {
  if (MatchesWildcards(pattern.c_str(), name)) return true;
  size_t n = pattern.size();
  return n >= 2 && pattern.compare(n - 2, 2, ".*") == 0 &&
         MatchesWildcards(pattern.substr(0, n - 2).c_str(), name);
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
std::set<uintptr_t>& OpenSearches() {
  static std::set<uintptr_t> searches;
  return searches;
}

HANDLE NewSearchHandle() {
  static uintptr_t next = 0;
  uintptr_t handle = (++next << 4) | 1;
  OpenSearches().insert(handle);
  return reinterpret_cast<HANDLE>(handle);
}

void FillFindData(const Properties& p, const std::string& name, LPWIN32_FIND_DATAA data) {
  std::memset(data, 0, sizeof *data);
  data->dwFileAttributes = p.attributes;
  data->ftCreationTime = p.creation;
  data->ftLastAccessTime = p.lastAccess;
  data->ftLastWriteTime = p.lastWrite;
  data->nFileSizeHigh = static_cast<DWORD>(p.size >> 32);
  data->nFileSizeLow = static_cast<DWORD>(p.size);
  std::strncpy(data->cFileName, name.c_str(), sizeof data->cFileName - 1);
}

}  // namespace

HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
  std::string path(pattern != nullptr ? pattern : "");
  size_t slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
  std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
  struct stat folderInfo;
  if (stat(folder.c_str(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode)) {
    return Fail(ERROR_PATH_NOT_FOUND), INVALID_HANDLE_VALUE;
  }
  if (last.empty()) return Fail(ERROR_FILE_NOT_FOUND), INVALID_HANDLE_VALUE;

  std::string found;
  if (!HasWildcards(last)) {
    found = last;
  } else {
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) return Fail(posix::ErrorFromErrno(errno)), INVALID_HANDLE_VALUE;
    bool any = false;
    while (const dirent* entry = readdir(listing)) {
      if (!Matches(last, entry->d_name)) continue;
      if (!any || ListsBefore(entry->d_name, found.c_str())) found = entry->d_name;
      any = true;
    }
    closedir(listing);
    if (!any) return Fail(ERROR_FILE_NOT_FOUND), INVALID_HANDLE_VALUE;
  }
  Properties properties;
  if (ReadProperties((folder + "/" + found).c_str(), &properties) != 0) {
    return Fail(errno == ENOTDIR ? ERROR_FILE_NOT_FOUND : posix::ErrorFromErrno(errno)),
           INVALID_HANDLE_VALUE;  // the folder was seen: a missing name is a missing file
  }
  FillFindData(properties, found, data);
  return NewSearchHandle();
}

BOOL FindClose(HANDLE search) {
  if (OpenSearches().erase(reinterpret_cast<uintptr_t>(search)) == 0) {
    return Fail(ERROR_INVALID_HANDLE);
  }
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
