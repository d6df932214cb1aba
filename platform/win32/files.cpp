#include "platform/files.h"

#include <cstdlib>
#include <cstring>

#include "platform/hooks.h"
#include "platform/plain_list.h"

namespace platform {

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                   LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE templateFile) {
  return ::CreateFileA(fileName, desiredAccess, shareMode, securityAttributes, creationDisposition,
                       flagsAndAttributes, templateFile);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD bytesRead,
              LPOVERLAPPED overlapped) {
  unsigned long limit;
  if (hooks::TakeReadLimit(&limit) && limit < toRead) toRead = static_cast<DWORD>(limit);
  return ::ReadFile(file, buffer, toRead, bytesRead, overlapped);
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD bytesWritten,
               LPOVERLAPPED overlapped) {
  return ::WriteFile(file, buffer, toWrite, bytesWritten, overlapped);
}

DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD moveMethod) {
  return ::SetFilePointer(file, distance, distanceHigh, moveMethod);
}

DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh) { return ::GetFileSize(file, sizeHigh); }

DWORD GetFileType(HANDLE file) { return ::GetFileType(file); }

DWORD SearchPathA(LPCSTR path, LPCSTR fileName, LPCSTR extension, DWORD bufferLength, LPSTR buffer,
                  LPSTR* filePart) {
  // A module path set by the test hook stands for the program's folder, which the system
  // searches first: search it first here too.
  const char* hooked = hooks::ModulePath();
  size_t folderLength = 0;
  for (const char* p = hooked; *p != '\0'; ++p) {
    if (*p == '\\' || *p == '/') folderLength = static_cast<size_t>(p - hooked) + 1;
  }
  if (path == nullptr && folderLength != 0) {
    char* folder = CopyText(hooked, folderLength);
    DWORD found = ::SearchPathA(folder, fileName, extension, bufferLength, buffer, filePart);
    std::free(folder);
    if (found != 0) return found;
  }
  return ::SearchPathA(path, fileName, extension, bufferLength, buffer, filePart);
}

void GetSystemTime(LPSYSTEMTIME systemTime) { ::GetSystemTime(systemTime); }

BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime) {
  return ::SystemTimeToFileTime(systemTime, fileTime);
}

BOOL SetFileTime(HANDLE file, const FILETIME* creationTime, const FILETIME* lastAccessTime,
                 const FILETIME* lastWriteTime) {
  return ::SetFileTime(file, creationTime, lastAccessTime, lastWriteTime);
}

}  // namespace platform
