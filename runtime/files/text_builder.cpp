#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/strings.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/window.h"
#include "runtime/core/state.h"
#include "runtime/strings/copy_piece.h"
#include "runtime/strings/deferred_text.h"

namespace corvala {

Word& OutputWindow = internal::g_state.files.outputWindow;
int32_t& WriteByteCount = internal::g_state.files.writeByteCount;

namespace {

using internal::g_state;

constexpr int kMaxPieces = 29;
constexpr int kRingSlots = internal::kTempSlotCount - 1;  // record 0 serves only before the start
constexpr uint32_t kRoom = 24;  // reserved beyond the text: the two zero bytes and slack

struct Piece {
  const char* text;
  uint32_t length;
  bool deferred;
};

uint32_t Magnitude(int32_t length) {
  return length < 0 ? 0u - static_cast<uint32_t>(length) : static_cast<uint32_t>(length);
}

// The index of the slot `back` steps behind the current one in the ring proper.
int32_t SlotIndexBehind(int back) {
  int32_t index = internal::RingIndex();
  for (int i = 0; i < back; ++i) index = index <= 1 ? 15 : index - 1;
  return index;
}

// The ring's records are read from the state directly: the accessors are calls into another
// object, and each costs a position-independent i686 build the set-up of its address register.
const TempSlot& Slot(int32_t index) { return g_state.core.shared[internal::kFirstSlotId + index]; }

// The target-code byte, bits 8 to 15, in place: compared with kTargetBuffer and the like.
uint32_t TargetCode(uint32_t control) { return control & 0xFF00u; }

void WriteToFileNumber(uint32_t control, const char* result, uint32_t total) {
  uint32_t count = static_cast<uint32_t>(WriteByteCount);
  if (count == 0) {
    bool wide = (TargetCode(control) & 0xFC00u) != 0;  // the wide bit or any above it
    count = wide ? 2 * WideTextLength(reinterpret_cast<const char16_t*>(result)) : total;
  }
  WriteByteCount = 0;
  // A field that names no file number writes to no file: the write fails.
  uint32_t fileField = (control >> 6) & 0xF;
  HANDLE handle = nullptr;
  if (fileField >= 1 && fileField <= static_cast<uint32_t>(kFileNumbers)) {
    handle = reinterpret_cast<HANDLE>(FileTable()[fileField - 1]);
  }
  DWORD written = 0;
  BOOL ok = FALSE;
  if (handle == nullptr) {
    platform::SetLastError(ERROR_INVALID_HANDLE);
  } else {
    ok = platform::WriteFile(handle, result, count, &written, nullptr);
  }
  ReportApiFailure(static_cast<Word>(ok));
}

void SetWindowText(uint32_t control, const char* result) {
  HWND window = reinterpret_cast<HWND>(OutputWindow);
  BOOL ok = TargetCode(control) == kTargetWindowWide
                ? platform::SetWindowTextW(window, reinterpret_cast<LPCWSTR>(result))
                : platform::SetWindowTextA(window, result);
  ReportApiFailure(static_cast<Word>(ok));
}

// Whether a piece reads any byte of [begin, end), the room of a result in the scratch ring.
bool PiecesRead(const Piece* pieces, int count, const char* begin, const char* end) {
  for (int i = 0; i < count; ++i) {
    const Piece& piece = pieces[i];
    if (piece.deferred ? internal::DeferredTextReads(piece.text, begin, end)
                       : internal::Overlaps(piece.text, piece.text + piece.length, begin, end)) {
      return true;
    }
  }
  return false;
}

// One copy per piece, deferred pieces expanded in place. A deferred piece that writes less
// than its recorded length is padded with zero bytes, so the text never holds stale memory.
void CopyPieces(const Piece* pieces, int count, char* out) {
  for (int i = 0; i < count; ++i) {
    const Piece& piece = pieces[i];
    if (piece.deferred) {
      uint32_t written = ExpandDeferredText(piece.text, out, piece.length);
      if (written < piece.length) std::memset(out + written, 0, piece.length - written);
    } else {
      internal::CopyPiece(out, piece.text, piece.length);
    }
    out += piece.length;
  }
  out[0] = '\0';  // NOLINT(clang-analyzer-core.NullDereference): out is the room, never null
  out[1] = '\0';
}

}  // namespace

Word BuildText(uint32_t control, const Word* arguments) {
  if (internal::RingIndex() == 0) RuntimeStartup();
  const bool assign = (control & kBuildAssign) != 0;
  const bool tracked = assign && (control & kBuildTracked) != 0;
  const bool wide = (control & kBuildWide) != 0;
  int count = static_cast<int>(control & 0x1F);
  if (count > kMaxPieces - (tracked ? 1 : 0)) count = kMaxPieces - (tracked ? 1 : 0);

  // The 127 pieces stand for the newest slots, the leftmost for the oldest of them, and the
  // buffer and plain assignment targets name the slot made just before those. What the ring
  // no longer holds would be read from a newer slot: a wrong text, or a text delivered
  // somewhere it was never meant to go.
  int resultPieces = 0;
  for (int i = 0; i < count; ++i) resultPieces += arguments[i] == kCurrentSlot;
  const bool hasDestination =
      (assign && !tracked) || (!assign && TargetCode(control) == kTargetBuffer);
  if (resultPieces + (hasDestination ? 1 : 0) > kRingSlots) FatalError(kErrorStringTable, 0);

  // The destination is taken before any slot is made: the result's own slot may be its slot.
  const int32_t destinationIndex = SlotIndexBehind(resultPieces);
  const TempSlot destination = Slot(destinationIndex);
  const Word destinationOrigin = g_state.core.slotOrigin[destinationIndex];

  // First pass: every piece's text and length. Data with zero bytes in it, written to a file:
  // the caller gives the byte count, the least length of each text piece.
  const uint32_t leastLength =
      static_cast<int32_t>(control) >= 0x40 ? static_cast<uint32_t>(WriteByteCount) : 0;
  Piece pieces[kMaxPieces];
  uint64_t total = 0;
  int resultsTaken = 0;
  for (int i = 0; i < count; ++i) {
    const Word value = arguments[i];
    Piece& piece = pieces[i];
    piece.deferred = false;
    if (value == kCurrentSlot) {
      const TempSlot& slot = Slot(SlotIndexBehind(resultPieces - 1 - resultsTaken++));
      piece.text = slot.text;
      piece.length = slot.text ? Magnitude(slot.length) : 0;
      piece.deferred = slot.text != nullptr && IsDeferredText(slot.text);
    } else if (value < kCurrentSlot) {
      // Shared-table ids; ids past the table (120 to 126 too: no addresses), and records
      // without a text, are empty.
      constexpr Word kTableSize = internal::kFirstSlotId + internal::kTempSlotCount;
      const TextRecord* record = value < kTableSize ? &g_state.core.shared[value] : nullptr;
      piece.text = record ? record->text : nullptr;
      piece.length = piece.text ? Magnitude(record->length) : 0;
    } else {
      piece.text = reinterpret_cast<const char*>(value);
      piece.length = wide ? 2 * WideTextLength(reinterpret_cast<const char16_t*>(value))
                          : TextLength(piece.text);
      if (piece.length < leastLength) piece.length = leastLength;
    }
    total += piece.length;
  }
  if (total > 0x7FFFFFFFu - kRoom) FatalError(kErrorHeapAlloc, 0);
  const uint32_t length = static_cast<uint32_t>(total);
  const uint32_t size = length + kRoom;

  // Room for the result.
  char* result;
  char* temporary = nullptr;
  char emptyRoom[2];
  ElementRecord* element = nullptr;
  void* oldText = nullptr;
  TempSlot* resultSlot = nullptr;
  if (tracked) {
    result = static_cast<char*>(TrackBlock(CountedAlloc(size, 0)));
  } else if (assign) {
    element = reinterpret_cast<ElementRecord*>(destinationOrigin);
    // No element behind the destination slot: nothing to assign to.
    if (element == nullptr) FatalError(kErrorArrayErased, 0);
    if (element->length > 0) oldText = const_cast<char*>(element->text);
    // An empty text takes no block: with its length of 0 the element could never free one.
    result = length == 0 ? emptyRoom : static_cast<char*>(CountedAlloc(size, 0));
    element->text = length == 0 ? EmptyText : result;
    element->length = static_cast<int32_t>(length);
  } else {
    char* write = ScratchWritePosition();
    if (static_cast<uint64_t>(write - g_state.core.scratch) + size <= internal::kScratchLimit) {
      CommittedText committed = CommitScratchText(write + size, kSlotAdvance);
      result = committed.text;
      resultSlot = committed.slot;
    } else {
      result = temporary = static_cast<char*>(CountedAlloc(size, 0));
    }
  }

  // Second pass. Once the write position has wrapped, older scratch texts lie ahead of it:
  // a room that covers a piece not yet copied is built elsewhere first, so that every piece
  // is read as it stood when the build began.
  if (resultSlot != nullptr && PiecesRead(pieces, count, result, result + size)) {
    char* staging = static_cast<char*>(CountedAlloc(size, 0));
    CopyPieces(pieces, count, staging);
    std::memcpy(result, staging, length + 2);
    CountedFree(staging);
  } else {
    CopyPieces(pieces, count, result);
  }
  // The slot records the text's own length, not the room reserved for it.
  if (resultSlot != nullptr) resultSlot->length = static_cast<int32_t>(length);

  // Deliver.
  if (result == emptyRoom) result = const_cast<char*>(EmptyText);
  Word answer = reinterpret_cast<Word>(result);
  const uint32_t target = TargetCode(control);
  if (assign) {
    if (tracked) {
      ReleaseTrackedBlock(arguments[count]);
    } else {
      CountedFree(oldText);
    }
  } else if (target == kTargetBuffer) {
    uint32_t capacity = destination.text ? Magnitude(destination.length) : 0;
    if (capacity != 0) {
      std::memcpy(const_cast<char*>(destination.text), result,
                  length < capacity ? length : capacity);
    }
  } else if (target == kTargetWindow || target == kTargetWindowWide) {
    SetWindowText(control, result);
  } else if (static_cast<int32_t>(control) >= 0x40) {
    WriteToFileNumber(control, result, length);
  } else {
    ConsoleWrite(result);
    if (control & kBuildWaitKey) answer = static_cast<Word>(WaitKey().code);
  }

  // A text built in a temporary heap block is gone once delivered.
  if (temporary != nullptr) {
    CountedFree(temporary);
    if (answer == reinterpret_cast<Word>(temporary)) answer = 0;
  }
  return answer;
}

Word BuildText(uint32_t control, std::initializer_list<TextArg> pieces) {
  Word words[kMaxPieces + 1];
  size_t n = 0;
  for (const TextArg& piece : pieces) {
    if (n == kMaxPieces + 1) break;
    words[n++] = piece.word();
  }
  const bool tracked = (control & kBuildAssign) && (control & kBuildTracked);
  size_t count = tracked && n > 0 ? n - 1 : n;
  if (tracked && n == 0) words[n++] = 0;
  return BuildText((control & ~0x1Fu) | static_cast<uint32_t>(count), words);
}

void TargetBuffer(char* buffer,  // NOLINT(readability-non-const-parameter): BuildText fills it
                  uint32_t capacity) {
  TempSlot* slot = SelectTempSlot(kSlotAdvance);
  slot->text = buffer;
  slot->length = static_cast<int32_t>(capacity);
}

void TargetVariable(ElementRecord& variable) {
  TempSlot* slot = SelectTempSlot(kSlotAdvance);
  slot->text = variable.text;
  slot->length = variable.length;
  g_state.core.slotOrigin[internal::RingIndex()] = reinterpret_cast<Word>(&variable);
}

}  // namespace corvala
