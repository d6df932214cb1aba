#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/strings.h"
#include "runtime/core/state.h"
#include "runtime/core/words.h"
#include "runtime/strings/copy_piece.h"
#include "runtime/strings/deferred_text.h"
#include "runtime/strings/search_forward.h"

namespace corvala {
namespace {

using namespace internal;

constexpr size_t kWord = sizeof(Word);
constexpr uint32_t kSubstituteFlags = FindIgnoreCase | FindFirstIgnoreCase | FindWholeWord;
constexpr int32_t kFileContentsNumber = 10;

void StartDeferredText(char* descriptor, int32_t kind) {
  StoreInt32(descriptor, kDeferredMarker);
  StoreInt32(descriptor + kDeferredKindAt, kind);
}

// Writes into output, never past its capacity.
struct BoundedOutput {
  char* at;
  uint32_t room;
  uint32_t written = 0;

  __attribute__((target("sse2"))) void Put(const char* bytes, size_t count) {
    size_t n = std::min<size_t>(count, room);
    CopyPiece(at, bytes, n);
    Advance(n);
  }
  void Zeros(size_t count) {
    size_t n = std::min<size_t>(count, room);
    std::memset(at, 0, n);
    Advance(n);
  }
  void Advance(size_t n) {
    at += n;
    room -= static_cast<uint32_t>(n);
    written += static_cast<uint32_t>(n);
  }
};

__attribute__((target("sse2"))) void ExpandSubstitution(const char* descriptor,
                                                        BoundedOutput& out) {
  const char* replacement = LoadPointer<const char>(descriptor + kReplacementAt);
  uint32_t replacementLength = TextLength(replacement);
  uint32_t soughtLength = LoadWord32(descriptor + kSoughtLengthAt);
  const char* read = LoadPointer<const char>(descriptor + kSourceAt);
  // The list ends with the source's terminator, then 0.
  for (const char* entry = descriptor + kOccurrencesAt;; entry += kWord) {
    const char* occurrence = LoadPointer<const char>(entry);
    out.Put(read, static_cast<size_t>(occurrence - read));
    if (LoadWord(entry + kWord) == 0) return;
    out.Put(replacement, replacementLength);
    read = occurrence + soughtLength;
  }
}

void ExpandFileContents(const char* descriptor, BoundedOutput& out) {
  const char* name = LoadPointer<const char>(descriptor + kFileNameAt);
  uint32_t size = std::min(LoadWord32(descriptor + kFileSizeAt), out.room);
  OpenInput(kFileContentsNumber, name, 0);
  FileBytes read = ReadFromFile(kFileContentsNumber, out.at, static_cast<int32_t>(size));
  CloseFile(kFileContentsNumber);
  uint32_t got = read.count > 0 ? static_cast<uint32_t>(read.count) : 0;
  out.Advance(got);
  // A file that shrank or cannot be opened under its name: no stale bytes in the result.
  out.Zeros(size - got);
}

// Where the descriptor must end at the latest: before the first text it reads that lies ahead
// of it (an older scratch text, once the write position has wrapped), else at the text limit.
const char* DescriptorRoomEnd(const char* descriptor, std::initializer_list<const char*> texts) {
  uintptr_t end = reinterpret_cast<uintptr_t>(g_state.core.scratch + kScratchLimit);
  for (const char* text : texts) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(text);
    if (at >= reinterpret_cast<uintptr_t>(descriptor) && at < end) end = at;
  }
  return reinterpret_cast<const char*>(end);
}

}  // namespace

int32_t SubstituteText(const char* text, const char* sought, const char* replacement,
                       uint32_t control) {
  char* descriptor = ScratchWritePosition();
  // The list grows over the scratch ring: it must not overwrite a text it still reads.
  const char* roomEnd = DescriptorRoomEnd(descriptor, {text, sought, replacement});
  if (roomEnd - descriptor < static_cast<ptrdiff_t>(kOccurrencesAt + 2 * kWord)) {
    FatalError(kErrorInsufficientBuffer, 0);
  }
  StartDeferredText(descriptor, kDeferredSubstitution);
  StorePointer(descriptor + kReplacementAt, replacement);
  uint32_t soughtLength = TextLength(sought);
  StoreWord32(descriptor + kSoughtLengthAt, soughtLength);
  StorePointer(descriptor + kSourceAt, text);

  uint32_t flags = control & kSubstituteFlags;
  uint32_t limit = (control >> kSubstituteLimitShift) & 0xFF;
  char* entry = descriptor + kOccurrencesAt;
  uint32_t count = 0;
  const char* terminator = nullptr;
  if (soughtLength != 0) {
    // Each occurrence must leave room for the closing two words within the room.
    uint32_t room = static_cast<uint32_t>((roomEnd - entry) / static_cast<ptrdiff_t>(kWord)) - 2;
    OccurrenceList list = ListOccurrences(text, sought, flags, limit, entry, room);
    if (list.unlisted != nullptr) {
      g_state.strings.lastFoundPosition = static_cast<int32_t>(list.unlisted - text) + 1;
      FatalError(kErrorInsufficientBuffer, 0);
    }
    count = list.count;
    entry += size_t{count} * kWord;
    terminator = list.terminator;
    // As a run of FindText calls, each going on behind the previous occurrence, would leave
    // it: the last occurrence's position when the limit stops the list, 0 after a miss.
    g_state.strings.lastFoundPosition =
        limit != 0 && count == limit
            ? static_cast<int32_t>(LoadPointer<const char>(entry - kWord) - text) + 1
            : 0;
  }
  // The scan found the terminator unless the limit ended it early.
  uint32_t textLength =
      terminator != nullptr ? static_cast<uint32_t>(terminator - text) : TextLength(text);
  // A one-byte search keeps the text's length for a continued search.
  if (soughtLength == 1) g_state.strings.lastSearchLength = static_cast<int32_t>(textLength);
  StorePointer(entry, text + textLength);
  StoreWord(entry + kWord, 0);
  char* end = entry + 2 * kWord - 4;  // the last 4 bytes of the closing 0

  int64_t finished = static_cast<int64_t>(textLength) +
                     static_cast<int64_t>(count) * (static_cast<int64_t>(TextLength(replacement)) -
                                                    static_cast<int64_t>(soughtLength));
  if (finished > INT32_MAX) FatalError(kErrorInsufficientBuffer, 0);
  TempSlot* slot = CommitScratchText(end, kSlotAdvance).slot;
  slot->length = static_cast<int32_t>(finished);
  return slot->length;
}

const char* New$(int32_t n) {
  if (n <= 0 || n == INT32_MAX) FatalError(kErrorInsufficientBuffer, 0);
  char* descriptor = ScratchWritePosition();
  StartDeferredText(descriptor, kDeferredZeroBytes);
  StoreInt32(descriptor + kZeroCountAt, n + 1);
  // Read as a plain text, the descriptor ends here.
  descriptor[kZeroBytesSize] = '\0';
  TempSlot* slot = CommitScratchText(descriptor + kZeroBytesSize, kSlotAdvance).slot;
  slot->length = n + 1;
  return descriptor;
}

bool IsDeferredText(const char* text) {
  auto at = reinterpret_cast<uintptr_t>(text);
  auto start = reinterpret_cast<uintptr_t>(g_state.core.scratch);
  if (at < start || at > start + kScratchSize - 4) return false;
  return LoadInt32(text) == kDeferredMarker;
}

namespace internal {

bool DeferredTextReads(const char* descriptor, const char* begin, const char* end) {
  switch (LoadInt32(descriptor + kDeferredKindAt)) {
    case kDeferredSubstitution: {
      const char* replacement = LoadPointer<const char>(descriptor + kReplacementAt);
      const char* source = LoadPointer<const char>(descriptor + kSourceAt);
      // The list ends with the source's terminator, then 0.
      const char* entry = descriptor + kOccurrencesAt;
      while (LoadWord(entry + kWord) != 0) entry += kWord;
      const char* terminator = LoadPointer<const char>(entry);
      return Overlaps(descriptor, entry + 2 * kWord, begin, end) ||
             Overlaps(source, terminator, begin, end) ||
             Overlaps(replacement, replacement + TextLength(replacement), begin, end);
    }
    case kDeferredFileContents: {
      const char* name = LoadPointer<const char>(descriptor + kFileNameAt);
      return Overlaps(descriptor, descriptor + kFileContentsSize, begin, end) ||
             Overlaps(name, name + TextLength(name) + 1, begin, end);
    }
    default:
      return Overlaps(descriptor, descriptor + kZeroBytesSize, begin, end);
  }
}

}  // namespace internal

uint32_t ExpandDeferredText(
    const char* descriptor,
    char* output,  // NOLINT(readability-non-const-parameter): written through out
    uint32_t capacity) {
  BoundedOutput out{output, capacity};
  switch (LoadInt32(descriptor + kDeferredKindAt)) {
    case kDeferredSubstitution:
      ExpandSubstitution(descriptor, out);
      break;
    case kDeferredFileContents:
      ExpandFileContents(descriptor, out);
      break;
    default:
      out.Zeros(LoadWord32(descriptor + kZeroCountAt) - 1);
      break;
  }
  return out.written;
}

}  // namespace corvala
