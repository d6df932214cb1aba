// Arrays of fixed-size records: DimRecordArray, CopyRecord.
#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "platform/files.h"
#include "runtime/strings/array_access.h"

namespace corvala {
namespace {

using internal::ArrayEntry;

// The two 32-bit words in front of the first record.
struct RecordArrayHeader {
  int32_t count;
  int32_t recordSize;
};

RecordArrayHeader* HeaderOf(char* firstRecord) {
  return reinterpret_cast<RecordArrayHeader*>(firstRecord - sizeof(RecordArrayHeader));
}

}  // namespace

void* DimRecordArray(int32_t arrayNumber, int32_t recordSize, int32_t maxIndex) {
  Word& entry = ArrayEntry(arrayNumber);
  int64_t count = int64_t{maxIndex} + 1;
  if (count < 0 || recordSize < 0) FatalErrorLine(kErrorCountTooHigh);
  uint64_t size = sizeof(RecordArrayHeader) + static_cast<uint64_t>(count) * recordSize;
  if (size > UINT32_MAX) FatalError(kErrorHeapAlloc, 0);
  auto* block = static_cast<char*>(CountedAlloc(static_cast<size_t>(size), kHeapZeroMemory));
  auto* header = reinterpret_cast<RecordArrayHeader*>(block);
  header->count = static_cast<int32_t>(count);
  header->recordSize = recordSize;
  TrackBlock(block);
  char* first = block + sizeof(RecordArrayHeader);
  entry = reinterpret_cast<Word>(first);
  return first;
}

void CopyRecord(int32_t source, int32_t destination, int32_t arrayNumber) {
  Word entry = ArrayEntry(arrayNumber);
  if (entry == 0 || entry == kErased) FatalErrorLine(kErrorArrayErased);
  char* first = reinterpret_cast<char*>(entry);
  const RecordArrayHeader header = *HeaderOf(first);
  const uint32_t count = static_cast<uint32_t>(header.count);
  const size_t size = static_cast<uint32_t>(header.recordSize);
  if (static_cast<uint32_t>(destination) >= count) FatalErrorLine(kErrorCountTooHigh);
  char* target = first + static_cast<size_t>(destination) * size;
  if (source >= 0) {
    if (static_cast<uint32_t>(source) >= count) FatalErrorLine(kErrorCountTooHigh);
    std::memmove(target, first + static_cast<size_t>(source) * size, size);
    return;
  }
  // A negative source names a file number (low three bits) and a record count (the rest).
  const uint32_t v = 0u - static_cast<uint32_t>(source);
  const uint32_t fileNumber = v & 7;
  uint32_t records = v >> 3;
  if (records == 0) records = count;
  if (uint64_t{static_cast<uint32_t>(destination)} + records > count) {
    FatalErrorLine(kErrorCountTooHigh);
  }
  DWORD written = 0;
  platform::WriteFile(reinterpret_cast<HANDLE>(FileTable()[fileNumber]), target,
                      static_cast<DWORD>(records * size), &written, nullptr);
}

}  // namespace corvala
