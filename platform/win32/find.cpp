#include "platform/find.h"

namespace platform {

HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
  return ::FindFirstFileA(pattern, data);
}
BOOL FindClose(HANDLE search) { return ::FindClose(search); }

BOOL GetFileSizeEx(HANDLE file, PLARGE_INTEGER size) { return ::GetFileSizeEx(file, size); }
BOOL GetFileAttributesExA(LPCSTR name, GET_FILEEX_INFO_LEVELS level, LPVOID information) {
  return ::GetFileAttributesExA(name, level, information);
}

}  // namespace platform
