#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/numbers.h"
#include "corvala/strings.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/heap.h"
#include "runtime/core/state.h"
#include "runtime/files/file_numbers.h"
#include "runtime/files/read_to_end.h"

namespace corvala {

int32_t& BareLineFeedCount = internal::g_state.strings.bareLineFeedCount;

namespace {

using internal::HandleOf;

// Bytes loaded are reported in 32 bits and the block needs its extra bytes on top.
constexpr uint64_t kMostBytes = INT32_MAX - 64;

// The fatal report for a file argument: its name, or its number as "file number N".
[[noreturn]] void CouldNotOpen(TextArg file) {
  if (!internal::IsFileNumber(file.word())) FatalError(kErrorRecallOpen, file.word());
  char text[32] = "file number ";
  IntToDecimal(static_cast<int32_t>(file.word()), text + std::strlen(text));
  FatalError(kErrorRecallOpen, reinterpret_cast<Word>(text));
}

// Takes the file's handle out of the table: the number (given, or 9 for a name) is free
// from here on and Recall closes the file itself.
HANDLE TakeHandle(TextArg file) {
  Word* table = FileTable();
  if (internal::IsFileNumber(file.word())) {
    Word entry = table[file.word()];
    table[file.word()] = 0;
    if (entry == 0 || entry == kOpenFailed) CouldNotOpen(file);
    return HandleOf(entry);
  }
  Word entry = OpenInput(internal::kWorkingFileNumber, file.bytes(), 0);
  table[internal::kWorkingFileNumber] = 0;
  if (entry == kOpenFailed) CouldNotOpen(file);
  return HandleOf(entry);
}

// The bytes from the file's position to the end of a file of known size.
uint64_t BytesToLoad(HANDLE handle, uint64_t size) {
  LONG positionHigh = 0;
  DWORD positionLow = platform::SetFilePointer(handle, 0, &positionHigh, FILE_CURRENT);
  uint64_t position = (static_cast<uint64_t>(static_cast<DWORD>(positionHigh)) << 32) | positionLow;
  return size > position ? size - position : 0;
}

// Grows array 0's descriptor in place to the records that `bytes` bytes of data need, as
// DimArray would have made it; the backing block stays its own all the while.
ArrayDescriptor* GrowWorkingArray(uint64_t bytes) {
  const uint64_t records = (bytes + 4) / 2 + 1;
  const uint64_t size = sizeof(ArrayDescriptor) + records * sizeof(ElementRecord);
  Word& entry = ArrayTable()[0];
  void* grown = nullptr;
  if (size <= UINT32_MAX) {
    grown = platform::HeapReAlloc(platform::GetProcessHeap(), HEAP_ZERO_MEMORY,
                                  reinterpret_cast<void*>(entry), static_cast<SIZE_T>(size));
  }
  if (grown == nullptr) FatalError(kErrorHeapAlloc, 0);
  entry = reinterpret_cast<Word>(grown);
  auto* working = static_cast<ArrayDescriptor*>(grown);
  working->count = static_cast<int32_t>(records);
  return working;
}

struct Scan {
  int32_t lines;  // line breaks accepted
  int32_t bareLineFeeds;
};

// Finds the CR LF line breaks, 32 bytes a step: every line feed found by the compares is
// looked at, and one after a carriage return ends a line, whose CR becomes its terminator.
// Record k + 1's text is set to the start of the line after break k. The data is 16-byte
// aligned and followed by zero bytes up to the end of the last step.
__attribute__((target("sse2"))) Scan FindLineBreaks(char* data, uint32_t bytes,
                                                    ElementRecord* records) {
  const __m128i lineFeeds = _mm_set1_epi8('\n');
  Scan scan = {0, 0};
  for (uint32_t step = 0; step < bytes; step += 32) {
    const __m128i low = _mm_load_si128(reinterpret_cast<const __m128i*>(data + step));
    const __m128i high = _mm_load_si128(reinterpret_cast<const __m128i*>(data + step + 16));
    uint32_t mask = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(low, lineFeeds))) |
                    static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(high, lineFeeds))) << 16;
    while (mask != 0) {
      char* lineFeed = data + step + __builtin_ctz(mask);
      mask &= mask - 1;
      if (lineFeed != data && lineFeed[-1] == '\r') {
        lineFeed[-1] = '\0';
        records[++scan.lines].text = lineFeed + 1;
      } else {
        ++scan.bareLineFeeds;
      }
    }
  }
  return scan;
}

}  // namespace

RecallResult Recall(TextArg file, int32_t arrayNumber, Word userValue, RecallMode mode) {
  if (arrayNumber < 0 || arrayNumber >= kArrayNumbers) FatalErrorLine(kErrorArrayErased);
  BareLineFeedCount = 0;
  HANDLE handle = TakeHandle(file);
  const internal::FileKind kind = internal::KindOf(handle);
  if (kind.extent == internal::FileExtent::kUnusable) CouldNotOpen(file);

  ArrayDescriptor* working;
  char* data;
  uint32_t bytes;
  if (kind.extent == internal::FileExtent::kSized) {
    const uint64_t wanted = BytesToLoad(handle, kind.size);
    if (wanted > kMostBytes) CouldNotOpen(file);
    bytes = static_cast<uint32_t>(wanted);

    // One record per possible CR LF line, one for a last line without a break, one for the
    // end. The working array comes first, so that once the block below exists it always has
    // an owner that the fatal path releases.
    working = DimArray(0, static_cast<int32_t>((static_cast<uint64_t>(bytes) + 4) / 2), userValue);
    // One block for all texts, the data on a 16-byte boundary (the heap aligns to 8).
    char* block = static_cast<char*>(CountedAlloc(bytes + internal::kLoadedBlockExtra, 0));
    const bool shifted = (reinterpret_cast<uintptr_t>(block) & 15) != 0;
    data = block + (shifted ? 8 : 0);
    working->backing = reinterpret_cast<Word>(data) | (shifted ? 1 : 0);
    std::memset(data + bytes, 0, internal::kZeroTail);
    DWORD read = 0;
    platform::ReadFile(handle, data, bytes, &read, nullptr);
    platform::CloseHandle(handle);
    // A file that shrank, or a device, may deliver less: load what was read, terminated.
    if (read < bytes) {
      bytes = read;
      std::memset(data + bytes, 0, internal::kZeroTail);
    }
  } else {
    // A pipe, a device or a file that reports no size: read to its end first, the block
    // held by a small working array, which then grows to the records the bytes need.
    working = DimArray(0, 0, userValue);
    const internal::LoadedBytes loaded = internal::ReadToEnd(handle, working->backing, kMostBytes);
    platform::CloseHandle(handle);
    if (!loaded.complete) CouldNotOpen(file);
    data = loaded.data;
    bytes = static_cast<uint32_t>(loaded.bytes);
    working = GrowWorkingArray(bytes);
  }

  if (mode.marker() != 0) working->shape = mode.marker();
  ElementRecord* records = working->elements();
  records[0].text = data;

  Scan scan = FindLineBreaks(data, bytes, records);
  BareLineFeedCount = scan.bareLineFeeds;
  char* end = data + bytes;
  int32_t lines = scan.lines;
  // Data that does not end with CR LF (empty data too) has one more line, ended by the zero
  // tail; its end record stands 2 bytes on, as if a CR LF followed.
  if (lines == 0 || records[lines].text != end) {
    ++lines;
    records[lines].text = end + 2;
  }
  if (mode.lineCount() != nullptr) *mode.lineCount() = lines;

  working->count = lines;
  for (int32_t k = 0; k < lines; ++k) {
    records[k].length = -static_cast<int32_t>(records[k + 1].text - records[k].text - 2);
  }

  DimArray(arrayNumber, lines, 0);  // releases what the target held
  SwapArrays(0, arrayNumber);
  EraseArray(0);
  return {lines, static_cast<int32_t>(bytes)};
}

}  // namespace corvala
