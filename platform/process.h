// Process and module functions of the platform seam.
#pragma once

#include "platform/types.h"

namespace platform {

// Ends the process. On POSIX it flushes standard output and error, runs the test exit
// hook and calls _exit, so no exit-time handler can change the code.
[[noreturn]] void ExitProcess(UINT exitCode);
HMODULE GetModuleHandleA(LPCSTR moduleName);
// The path of the program's own module file (or the path set by the test hook).
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);

// The command line as the program received it. On POSIX: the process's own arguments joined
// by spaces as Windows would show them, with arguments that hold blanks (or are empty) in
// double quotes.
LPSTR GetCommandLineA();

}  // namespace platform
