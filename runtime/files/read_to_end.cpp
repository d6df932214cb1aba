#include "runtime/files/read_to_end.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/heap.h"

namespace corvala::internal {
namespace {

// The first block holds this much; each growth doubles it, so a large pipe is copied a
// few times at most.
constexpr uint32_t kFirstCapacity = 1u << 16;

char* BlockOf(Word owner) {
  char* data = reinterpret_cast<char*>(owner & ~Word{1});
  return (owner & 1) != 0 ? data - 8 : data;
}

}  // namespace

FileKind KindOf(HANDLE handle) {
  platform::SetLastError(NO_ERROR);
  DWORD type = platform::GetFileType(handle);
  if (type == FILE_TYPE_UNKNOWN && platform::GetLastError() != NO_ERROR) {
    return {FileExtent::kUnusable, 0};
  }
  if (type != FILE_TYPE_DISK) return {FileExtent::kToTheEnd, 0};
  DWORD high = 0;
  DWORD low = platform::GetFileSize(handle, &high);
  if (low == INVALID_FILE_SIZE && platform::GetLastError() != NO_ERROR) {
    return {FileExtent::kToTheEnd, 0};
  }
  uint64_t size = (static_cast<uint64_t>(high) << 32) | low;
  return {size == 0 ? FileExtent::kToTheEnd : FileExtent::kSized, size};
}

uint32_t ReadFully(HANDLE handle, void* buffer, uint32_t count) {
  char* at = static_cast<char*>(buffer);
  uint32_t done = 0;
  while (done < count) {
    DWORD read = 0;
    BOOL ok = platform::ReadFile(handle, at + done, count - done, &read, nullptr);
    done += read;
    // A pipe whose writer has gone fails its read (ERROR_BROKEN_PIPE): that is its end.
    if (!ok || read == 0) break;
  }
  return done;
}

LoadedBytes ReadToEnd(HANDLE handle, Word& owner, uint64_t mostBytes) {
  HANDLE heap = platform::GetProcessHeap();
  uint64_t capacity = std::min<uint64_t>(kFirstCapacity, mostBytes);
  char* block =
      static_cast<char*>(CountedAlloc(static_cast<size_t>(capacity) + kLoadedBlockExtra, 0));
  owner = reinterpret_cast<Word>(block);
  uint64_t used = 0;
  bool complete = true;
  for (;;) {
    if (used == capacity) {
      if (capacity == mostBytes) {
        // Full at the limit: one byte more tells whether the file goes on.
        char probe;
        DWORD read = 0;
        platform::ReadFile(handle, &probe, 1, &read, nullptr);
        complete = read == 0;
        break;
      }
      capacity = std::min<uint64_t>(capacity * 2, mostBytes);
      void* grown =
          platform::HeapReAlloc(heap, 0, block, static_cast<SIZE_T>(capacity + kLoadedBlockExtra));
      // The old block stays whole and named by the owner, so the fatal path releases it.
      if (grown == nullptr) FatalError(kErrorHeapAlloc, 0);
      block = static_cast<char*>(grown);
      owner = reinterpret_cast<Word>(block);
    }
    DWORD read = 0;
    // A read's count is a DWORD: a 64-bit build's block of 4 GB and more fills in pieces.
    const DWORD piece = static_cast<DWORD>(std::min<uint64_t>(capacity - used, uint64_t{1} << 30));
    BOOL ok = platform::ReadFile(handle, block + used, piece, &read, nullptr);
    used += read;
    if (!ok || read == 0) break;
  }

  // Down to the bytes read, then onto a 16-byte boundary as a sized read would place them.
  if (used < capacity) {
    void* fitted =
        platform::HeapReAlloc(heap, 0, block, static_cast<SIZE_T>(used + kLoadedBlockExtra));
    if (fitted != nullptr) block = static_cast<char*>(fitted);
    owner = reinterpret_cast<Word>(block);
  }
  const bool shifted = (reinterpret_cast<uintptr_t>(block) & 15) != 0;
  char* data = block;
  if (shifted) {
    data = block + 8;
    std::memmove(data, block, static_cast<size_t>(used));
  }
  std::memset(data + used, 0, kZeroTail);
  owner = reinterpret_cast<Word>(data) | (shifted ? 1 : 0);
  return {data, used, complete};
}

void ReleaseLoaded(Word& owner) {
  if (owner == 0) return;
  char* block = BlockOf(owner);
  owner = 0;
  CountedFree(block);
}

}  // namespace corvala::internal
