// The process heap of the platform seam.
#pragma once

#include "platform/types.h"

namespace platform {

// On POSIX the process heap is the C heap: GetProcessHeap returns one fixed handle,
// HEAP_ZERO_MEMORY zero-fills (on HeapReAlloc: the bytes beyond the old size), and
// HEAP_REALLOC_IN_PLACE_ONLY succeeds only when the block does not grow. A block of 0 bytes
// is a valid, unique block. The test hooks can make an allocation or a release fail.
HANDLE GetProcessHeap();
LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID block);
LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes);

}  // namespace platform
