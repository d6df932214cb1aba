#include "platform/files.h"

#include <string>

#include "platform/hooks.h"

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
  const std::string& hooked = hooks::ModulePath();
  if (path == nullptr && !hooked.empty()) {
    std::string folder = hooked.substr(0, hooked.find_last_of("\\/") + 1);
    if (!folder.empty()) {
      DWORD found =
          ::SearchPathA(folder.c_str(), fileName, extension, bufferLength, buffer, filePart);
      if (found != 0) return found;
    }
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
