#include "platform/heap.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/errors.h"
#include "platform/hooks.h"

namespace platform {
namespace {

// Each block is preceded by a header holding its requested size, which HeapReAlloc needs
// for HEAP_ZERO_MEMORY and in-place requests. 16 bytes keep the C heap's alignment.
struct alignas(16) BlockHeader {
  SIZE_T bytes;
};
static_assert(sizeof(BlockHeader) == 16);

char processHeap;

BlockHeader* HeaderOf(LPVOID block) { return static_cast<BlockHeader*>(block) - 1; }

// Blocks from this size on (a loaded file, the descriptor of its lines) are asked for in 2 MB
// pages where the system offers them: each page of the block is then one fault, not 512.
constexpr SIZE_T kLargePagesFrom = SIZE_T{32} << 20;
constexpr uintptr_t kLargePage = uintptr_t{2} << 20;

void AdviseLargePages(void* raw, SIZE_T bytes) {
  if (bytes < kLargePagesFrom) return;
  const uintptr_t start = (reinterpret_cast<uintptr_t>(raw) + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(raw) + bytes) & ~(kLargePage - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

bool TooLarge(SIZE_T bytes) {
  return bytes > static_cast<SIZE_T>(PTRDIFF_MAX) - sizeof(BlockHeader);
}

}  // namespace

HANDLE GetProcessHeap() { return &processHeap; }

LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (hooks::HeapAllocationFails()) return nullptr;
  if (heap == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (TooLarge(bytes)) return nullptr;
  void* raw = (flags & HEAP_ZERO_MEMORY) ? std::calloc(1, sizeof(BlockHeader) + bytes)
                                         : std::malloc(sizeof(BlockHeader) + bytes);
  if (raw == nullptr) return nullptr;
  AdviseLargePages(raw, sizeof(BlockHeader) + bytes);
  BlockHeader* header = static_cast<BlockHeader*>(raw);
  header->bytes = bytes;
  return header + 1;
}

BOOL HeapFree(HANDLE heap, DWORD, LPVOID block) {
  if (hooks::HeapFreeFails()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (heap == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (block != nullptr) std::free(HeaderOf(block));
  return TRUE;
}

LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes) {
  if (hooks::HeapAllocationFails()) return nullptr;
  if (heap == nullptr || block == nullptr) {
    SetLastError(heap == nullptr ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  SIZE_T old = HeaderOf(block)->bytes;
  if (flags & HEAP_REALLOC_IN_PLACE_ONLY) {
    if (bytes > old) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    HeaderOf(block)->bytes = bytes;
    return block;
  }
  if (TooLarge(bytes)) return nullptr;
  void* raw = std::realloc(HeaderOf(block), sizeof(BlockHeader) + bytes);
  if (raw == nullptr) return nullptr;  // the old block stays as it was
  BlockHeader* header = static_cast<BlockHeader*>(raw);
  header->bytes = bytes;
  char* data = reinterpret_cast<char*>(header + 1);
  if ((flags & HEAP_ZERO_MEMORY) && bytes > old) std::memset(data + old, 0, bytes - old);
  return data;
}

}  // namespace platform
