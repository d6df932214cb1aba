set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: Windows and Wine need no MinGW DLLs beside the exe.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Tests run under wine64 so that plain ctest works here: without Wine's debug chatter, and
# without its offers to install .NET and HTML engines on a fresh prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml="
    /usr/lib/wine/wine64)
