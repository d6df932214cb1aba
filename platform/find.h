// File searches and file properties of the platform seam.
//
// On POSIX (platform/posix/find.cpp):
// - '/' separates folders. Wildcards may stand in the last component only: '*' matches any
//   run of characters, '?' exactly one, and a pattern ending in ".*" also matches the name
//   without that ending ("*.*" matches every name). Matching is exact in case, as the file
//   system is.
// - The first match is the first in the order of names compared as upper case, as an NTFS
//   folder lists them: "." and ".." come first when the pattern matches them.
// - Attributes: FILE_ATTRIBUTE_DIRECTORY for folders, FILE_ATTRIBUTE_ARCHIVE for other files,
//   FILE_ATTRIBUTE_READONLY added when the owner may not write.
// - Times: the creation time is the file system's birth time where it keeps one and the
//   last-write time otherwise. No short names: cAlternateFileName is empty.
#pragma once

#include "platform/types.h"

namespace platform {

// The first file that matches pattern, its properties in *data. Returns a search handle
// for FindClose, or INVALID_HANDLE_VALUE with the last error ERROR_FILE_NOT_FOUND (no
// match) or ERROR_PATH_NOT_FOUND (no such folder).
HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data);
// Fails with ERROR_INVALID_HANDLE for a value that is no open search handle.
BOOL FindClose(HANDLE search);

// The size of an open file.
BOOL GetFileSizeEx(HANDLE file, PLARGE_INTEGER size);
// Attributes, times and size of the file or folder name (no wildcards) with the level
// GetFileExInfoStandard into a WIN32_FILE_ATTRIBUTE_DATA.
BOOL GetFileAttributesExA(LPCSTR name, GET_FILEEX_INFO_LEVELS level, LPVOID information);

}  // namespace platform
