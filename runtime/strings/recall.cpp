#include <emmintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/numbers.h"
#include "corvala/strings.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "runtime/core/state.h"
#include "runtime/files/file_numbers.h"
#include "runtime/files/read_to_end.h"
#include "runtime/strings/array_access.h"

namespace corvala {

int32_t& BareLineFeedCount = internal::g_state.strings.bareLineFeedCount;

namespace {

using internal::HandleOf;

// Bytes loaded are reported in a pointer-sized word (32 bits on i686) and the block needs its
// extra bytes on top.
constexpr uint64_t kMostBytes = static_cast<uint64_t>(INTPTR_MAX) - 64;
// The working array starts with a record per this many bytes (or at least kFewestFirstRecords,
// no more than the worst case, a line every two bytes) and doubles when the lines are shorter:
// sized for the worst case, its records would take 4 (i686) or 8 (64-bit) times the file's bytes.
constexpr size_t kFirstGuessBytesPerLine = 32;
constexpr size_t kFewestFirstRecords = 4096;
// A file is read in pieces that a DWORD counts; files a 32-bit build can hold take one read.
constexpr size_t kReadPiece = size_t{1} << 31;

// The file argument as a text: its name, or its number as "file number N".
const char* FileText(TextArg file, char (&number)[32]) {
  if (!internal::IsFileNumber(file.word())) return file.bytes();
  static constexpr char kPrefix[] = "file number ";
  std::memcpy(number, kPrefix, sizeof kPrefix - 1);
  IntToDecimal(static_cast<int32_t>(file.word()), number + sizeof kPrefix - 1);
  return number;
}

[[noreturn]] void CouldNotOpen(TextArg file) {
  char number[32];
  FatalError(kErrorRecallOpen, reinterpret_cast<Word>(FileText(file, number)));
}

// A file an array cannot hold is reported as one Recall cannot open, the reason before the name
// (the detail is cut at 127 characters).
[[noreturn]] void CannotHold(TextArg file, const char* reason) {
  char number[32];
  const char* name = FileText(file, number);
  char detail[160];
  const size_t used = std::strlen(reason);
  std::memcpy(detail, reason, used);
  const size_t room = sizeof detail - used - 1;
  const size_t length = std::min(std::strlen(name), room);
  std::memcpy(detail + used, name, length);
  detail[used + length] = '\0';
  FatalError(kErrorRecallOpen, reinterpret_cast<Word>(detail));
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

// Reads up to `bytes`, stopping at the first piece that comes short; returns the bytes read.
size_t ReadWhole(HANDLE handle, char* data, size_t bytes) {
  size_t done = 0;
  do {
    const DWORD piece = static_cast<DWORD>(std::min(bytes - done, kReadPiece));
    DWORD read = 0;
    platform::ReadFile(handle, data + done, piece, &read, nullptr);
    done += read;
    if (read < piece) break;
  } while (done < bytes);
  return done;
}

// The working array's first size: records for the lines, one for a last line without a break
// and one for the end, as a guess that the scan doubles as it needs.
int32_t FirstCapacity(size_t bytes) {
  const size_t worstCase = bytes / 2 + 2;
  const size_t guess = std::max(bytes / kFirstGuessBytesPerLine, kFewestFirstRecords);
  return static_cast<int32_t>(std::min({guess, worstCase, size_t{INT32_MAX - 1}}));
}

// The records of the working array (number 0) and how many its block holds.
struct Room {
  ElementRecord* records;
  int32_t capacity;
};

// Doubles the working array's block, which its table entry follows so that the fatal path
// releases whichever block holds it. Its count stays at the first size: the records beyond
// are not cleared and the release must not read them. Capacity 0: no array can hold more.
Room Grow(Room room) {
  if (room.capacity == INT32_MAX) return {room.records, 0};
  const int32_t capacity = room.capacity > INT32_MAX / 2 ? INT32_MAX : room.capacity * 2;
  Word& entry = ArrayTable()[0];
  ArrayDescriptor* working =
      internal::ResizeDescriptor(reinterpret_cast<ArrayDescriptor*>(entry), capacity - 1);
  entry = reinterpret_cast<Word>(working);
  return {working->elements(), capacity};
}

struct Scan {
  int32_t lines;  // line breaks accepted
  int32_t bareLineFeeds;
  bool full;  // more line breaks than an array can hold
  Room room;
};

// Finds the CR LF line breaks, 32 bytes a step: every line feed found by the compares is
// looked at, and one after a carriage return ends a line, whose CR becomes its terminator.
// Record k + 1's text is set to the start of the line after break k; there is always room for
// the record after that, the end record. The data is 16-byte aligned and followed by zero
// bytes up to the end of the last step.
__attribute__((target("sse2"))) Scan FindLineBreaks(char* data, size_t bytes, Room room) {
  const __m128i lineFeeds = _mm_set1_epi8('\n');
  Scan scan = {0, 0, false, room};
  for (size_t step = 0; step < bytes; step += 32) {
    const __m128i low = _mm_load_si128(reinterpret_cast<const __m128i*>(data + step));
    const __m128i high = _mm_load_si128(reinterpret_cast<const __m128i*>(data + step + 16));
    uint32_t mask = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(low, lineFeeds))) |
                    static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(high, lineFeeds))) << 16;
    while (mask != 0) {
      char* lineFeed = data + step + __builtin_ctz(mask);
      mask &= mask - 1;
      if (lineFeed != data && lineFeed[-1] == '\r') {
        if (scan.lines + 2 >= room.capacity) {
          room = Grow(room);
          scan.room = room;
          if (room.capacity == 0) {
            scan.full = true;
            return scan;
          }
        }
        lineFeed[-1] = '\0';
        room.records[++scan.lines].text = lineFeed + 1;
      } else {
        ++scan.bareLineFeeds;
      }
    }
  }
  return scan;
}

}  // namespace

RecallResult Recall(TextArg file, int32_t arrayNumber, Word userValue, RecallMode mode) {
  // 0 is Recall's own working array: a result left there would be erased at once.
  if (arrayNumber <= 0 || arrayNumber >= kArrayNumbers) FatalErrorLine(kErrorCountTooHigh);
  if (file.IsSmall() && !internal::IsFileNumber(file.word())) {
    internal::FatalErrorNumberName(kErrorRecallOpen, file.word());
  }
  BareLineFeedCount = 0;
  HANDLE handle = TakeHandle(file);
  const internal::FileKind kind = internal::KindOf(handle);
  if (kind.extent == internal::FileExtent::kUnusable) CouldNotOpen(file);

  ArrayDescriptor* working;
  char* data;
  size_t bytes;
  int32_t capacity;  // records of the working array's block
  if (kind.extent == internal::FileExtent::kSized) {
    const uint64_t wanted = BytesToLoad(handle, kind.size);
    if (wanted > kMostBytes) CouldNotOpen(file);
    bytes = static_cast<size_t>(wanted);
    // The working array comes first, so that once the block below exists it always has an
    // owner that the fatal path releases.
    capacity = FirstCapacity(bytes);
    working = DimArray(0, capacity, userValue);
    // One block for all texts, the data on a 16-byte boundary (the heap aligns to 8).
    char* block = static_cast<char*>(CountedAlloc(bytes + internal::kLoadedBlockExtra, 0));
    const bool shifted = (reinterpret_cast<uintptr_t>(block) & 15) != 0;
    data = block + (shifted ? 8 : 0);
    working->backing = reinterpret_cast<Word>(data) | (shifted ? 1 : 0);
    std::memset(data + bytes, 0, internal::kZeroTail);
    const size_t read = ReadWhole(handle, data, bytes);
    platform::CloseHandle(handle);
    // A file that shrank, or a device, may deliver less: load what was read, terminated.
    if (read < bytes) {
      bytes = read;
      std::memset(data + bytes, 0, internal::kZeroTail);
    }
  } else {
    // A pipe, a device or a file that reports no size: read to its end first, the block
    // held by a small working array, which then moves to a block of the first guess.
    working = DimArray(0, 0, userValue);
    const internal::LoadedBytes loaded = internal::ReadToEnd(handle, working->backing, kMostBytes);
    platform::CloseHandle(handle);
    if (!loaded.complete) CouldNotOpen(file);
    data = loaded.data;
    bytes = static_cast<size_t>(loaded.bytes);
    capacity = FirstCapacity(bytes);
    // Its count stays 0: the records of the new block are not cleared and no release reads them.
    working = internal::ResizeDescriptor(working, capacity - 1);
    ArrayTable()[0] = reinterpret_cast<Word>(working);
  }

  if (mode.marker() != 0) working->shape = mode.marker();
  working->elements()[0].text = data;

  Scan scan = FindLineBreaks(data, bytes, {working->elements(), capacity});
  if (scan.full) CannotHold(file, "more lines than an array holds in ");
  working = reinterpret_cast<ArrayDescriptor*>(ArrayTable()[0]);
  ElementRecord* records = scan.room.records;
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
    const ptrdiff_t length = records[k + 1].text - records[k].text - 2;
    // Element lengths are 32-bit: a line of 2 GB or more cannot be an element.
    if (length > INT32_MAX) CannotHold(file, "a line of 2 GB or more in ");
    records[k].length = -static_cast<int32_t>(length);
  }

  DimArray(arrayNumber, lines, 0);  // releases what the target held
  SwapArrays(0, arrayNumber);
  EraseArray(0);
  return {lines, static_cast<intptr_t>(bytes)};
}

}  // namespace corvala
