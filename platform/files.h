// Files of the platform seam: opening, reading, writing, positioning, searching and time
// stamps, with the Win32 names, arguments, results and last-error codes.
//
// On POSIX (platform/posix/files.cpp):
// - Handles are descriptors encoded as platform/handles.h says; they are not inherited by
//   child processes. Close them with CloseHandle.
// - Access and sharing are enforced between the handles of this process as Windows does:
//   an open whose access another open handle does not share, or which does not share the
//   access of another open handle, fails with ERROR_SHARING_VIOLATION. Other processes are
//   not seen.
// - File names are passed to the system as they are: '/' separates folders.
// - Opening a folder fails with ERROR_ACCESS_DENIED, as on Windows.
// - CREATE_ALWAYS and TRUNCATE_EXISTING empty regular files only: a FIFO or a device opens
//   as it is, as a device does on Windows.
// - A FIFO opened with GENERIC_WRITE is opened for writing only, which waits for a reader
//   (with read access too it would take writes that no reader ever sees).
// - There is no settable creation time: SetFileTime sets the last-access and last-write
//   times and ignores the creation time.
#pragma once

#include "platform/types.h"

namespace platform {

// Dispositions CREATE_NEW, CREATE_ALWAYS, OPEN_EXISTING, OPEN_ALWAYS, TRUNCATE_EXISTING;
// access GENERIC_READ and/or GENERIC_WRITE; share FILE_SHARE_*. CREATE_ALWAYS and
// OPEN_ALWAYS on an existing file succeed with the last error ERROR_ALREADY_EXISTS.
// Returns INVALID_HANDLE_VALUE on failure.
HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                   LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE templateFile);

// Reads up to toRead bytes from the file pointer on; fewer only at the end of the file.
// *bytesRead is set to 0 first, so it reads 0 after a failure.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD bytesRead, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD bytesWritten,
               LPOVERLAPPED overlapped);

// Moves the file pointer by distance from FILE_BEGIN, FILE_CURRENT or FILE_END. With
// distanceHigh the distance is 64-bit and the new position's high half is written back.
// Returns the new position's low half, or INVALID_SET_FILE_POINTER with the last error set
// (ERROR_NEGATIVE_SEEK before the start); a success sets the last error to NO_ERROR.
DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD moveMethod);

// The size's low half (high half to *sizeHigh if given), or INVALID_FILE_SIZE with the last
// error set; a success sets the last error to NO_ERROR.
DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh);

// FILE_TYPE_DISK for a file on disk, FILE_TYPE_PIPE for a pipe (a FIFO or socket on POSIX),
// FILE_TYPE_CHAR for a character device (a console, NUL; a terminal or /dev/null on POSIX),
// or FILE_TYPE_UNKNOWN, with the last error set when the handle is no open file (NO_ERROR
// otherwise). POSIX: block devices and the files of /proc and /sys are FILE_TYPE_DISK.
DWORD GetFileType(HANDLE file);

// Looks fileName up in path, a list of folders separated by ';' (on POSIX ':' separates
// too), or with path null along the standard order: on POSIX the program's folder, the
// current folder, then the folders of PATH. extension (with its dot) is added when the
// name has none. On success writes the full path to buffer and returns its length; if the
// buffer is too small, returns the size needed (terminator included) and writes nothing.
// Returns 0 with ERROR_FILE_NOT_FOUND when the file is in none of the folders.
DWORD SearchPathA(LPCSTR path, LPCSTR fileName, LPCSTR extension, DWORD bufferLength, LPSTR buffer,
                  LPSTR* filePart);

// The current time in UTC.
void GetSystemTime(LPSYSTEMTIME systemTime);
// Fails with ERROR_INVALID_PARAMETER for a date or time that does not exist (the day of
// the week is not looked at).
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);
// A null time is left as it is. Needs a handle opened with GENERIC_WRITE, else fails with
// ERROR_ACCESS_DENIED. POSIX: the creation time is ignored (see above).
BOOL SetFileTime(HANDLE file, const FILETIME* creationTime, const FILETIME* lastAccessTime,
                 const FILETIME* lastWriteTime);

}  // namespace platform
