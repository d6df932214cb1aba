// Win32 types and constants for the platform seam.
// On Windows they come from the system headers; on POSIX from our own definitions,
// which keep the Windows names, values and (for 32-bit quantities) widths.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include "platform/posix/win32_types.h"
#endif
