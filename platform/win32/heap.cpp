#include "platform/heap.h"

#include "platform/hooks.h"

namespace platform {

HANDLE GetProcessHeap() { return ::GetProcessHeap(); }

LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (hooks::HeapAllocationFails()) return nullptr;
  return ::HeapAlloc(heap, flags, bytes);
}

BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID block) {
  if (hooks::HeapFreeFails()) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return ::HeapFree(heap, flags, block);
}

LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes) {
  if (hooks::HeapAllocationFails()) return nullptr;
  return ::HeapReAlloc(heap, flags, block, bytes);
}

}  // namespace platform
