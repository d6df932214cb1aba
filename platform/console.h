// Console functions of the platform seam.
#pragma once

#include "platform/types.h"

namespace platform {

// STD_INPUT_HANDLE, STD_OUTPUT_HANDLE or STD_ERROR_HANDLE. On POSIX: the handles of
// descriptors 0, 1 and 2 (see platform/handles.h); WriteFile writes to them.
HANDLE GetStdHandle(DWORD which);
// Discards pending console input. On POSIX: pending terminal input (tcflush); fails with
// ERROR_INVALID_HANDLE when the handle is no terminal.
BOOL FlushConsoleInputBuffer(HANDLE input);
// Reads one key without echo. An arrow, navigation or function key comes back as two codes,
// 0xE0 (0 for F1 to F10) and then the Windows scan code, on both systems. On POSIX the
// terminal is put in raw mode for the read; when standard input is no terminal the next
// byte is read as it is; at the end of input the result is -1.
int _getch();

}  // namespace platform
