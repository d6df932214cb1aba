// Reading files whose size is not known in advance (pipes, FIFOs, devices, files that report
// a size of 0 such as those of /proc): to their end, in a block that grows as it fills.
#pragma once

#include <cstdint>

#include "corvala/types.h"
#include "platform/types.h"

namespace corvala::internal {

// What a handle's size says about reading it.
enum class FileExtent {
  kSized,     // a file on disk with a size above 0: `size` bytes, read in one call
  kToTheEnd,  // a pipe, a device, or a file that reports no size: read until it ends
  kUnusable,  // no open file
};
struct FileKind {
  FileExtent extent;
  uint64_t size;  // the whole file's size when kSized
};
FileKind KindOf(HANDLE handle);

// The bytes read from a file's position to its end, laid out as Recall keeps its data: one
// heap block of bytes + 41, the data on a 16-byte boundary (8 bytes in when the block itself
// is not 16-aligned), followed by 32 zero bytes.
inline constexpr uint32_t kZeroTail = 32;
inline constexpr uint32_t kLoadedBlockExtra = 41;  // alignment shift (8) + zero tail + 1 spare
struct LoadedBytes {
  char* data;
  uint64_t bytes;
  bool complete;  // false when the file goes on past mostBytes (the block holds mostBytes)
};
// `owner` names the block at every moment, so that whoever releases it on the fatal path
// (the backing word of an array) never misses it: the block's address while it grows, then
// the data's address with bit 0 set when the data starts 8 bytes in. The block is one
// CountedAlloc; a growth the heap refuses ends the run with ErrorCode 1.
LoadedBytes ReadToEnd(HANDLE handle, Word& owner, uint64_t mostBytes);
// Releases the block an owner word names (0 names none) and clears the word.
void ReleaseLoaded(Word& owner);

// Reads until count bytes are in or the file ends: a pipe delivers what it has at each call.
uint32_t ReadFully(HANDLE handle, void* buffer, uint32_t count);

}  // namespace corvala::internal
