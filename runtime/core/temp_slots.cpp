#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "runtime/core/state.h"

namespace corvala {
namespace {

using internal::g_state;
using internal::RingIndex;

TempSlot* SlotRecord(int32_t index) { return &g_state.core.shared[internal::kFirstSlotId + index]; }

// The ring's next record, made current.
TempSlot* StepForward() {
  int32_t& index = RingIndex();
  index = index >= 15 ? 1 : index + 1;
  // A new result: the element an older result of this record showed is not its origin.
  g_state.core.slotOrigin[index] = 0;
  return SlotRecord(index);
}

}  // namespace

TempSlot* SelectTempSlot(Word request) {
  if (RingIndex() == 0) RuntimeStartup();
  int32_t& index = RingIndex();
  TempSlot* current = SlotRecord(index);
  if (request == reinterpret_cast<Word>(current->text) || request == kSlotCurrent) return current;
  if (request != kSlotBack) return StepForward();
  index = index - 1 <= 0 ? 15 : index - 1;
  return SlotRecord(index);
}

Word& SlotOrigin(int slot) { return g_state.core.slotOrigin[slot]; }

int32_t TempSlotIndex() { return RingIndex(); }

char* ScratchWritePosition() {
  char*& write = g_state.core.scratchWrite;
  if (write == nullptr) write = g_state.core.scratch;
  return write;
}

namespace {

// Gives the text from the scratch write position to end to slot and moves the write position
// behind it.
CommittedText Commit(char* text, const char* end, TempSlot* slot) {
  slot->text = text;
  slot->length = static_cast<int32_t>(end - text);
  // Next text starts at the first multiple of 4 above the terminator.
  char* base = g_state.core.scratch;
  size_t next = (static_cast<size_t>(end - base) + 4) & ~static_cast<size_t>(3);
  g_state.core.scratchWrite = next >= internal::kScratchRing ? base : base + next;
  return {text, slot};
}

__attribute__((noinline)) CommittedText CommitWithAnyRequest(char* end, Word request) {
  char* text = ScratchWritePosition();
  return Commit(text, end, SelectTempSlot(request));
}

}  // namespace

CommittedText CommitScratchText(char* end, Word request) {
  // The common request, a new result once the runtime has started and written, takes the
  // short way: no text lies at address 1, so SelectTempSlot would step forward too.
  char* text = g_state.core.scratchWrite;
  if (request != kSlotAdvance || RingIndex() == 0 || text == nullptr) {
    return CommitWithAnyRequest(end, request);
  }
  return Commit(text, end, StepForward());
}

char* KeepTempSlotCopy() {
  const TempSlot* current = SelectTempSlot(kSlotCurrent);
  const char* text = current->text;
  uint32_t length = current->length < 0 ? 0u - static_cast<uint32_t>(current->length)
                                        : static_cast<uint32_t>(current->length);
  char* copy = static_cast<char*>(AllocTracked(length + 1, 0));
  // Copied before the oldest copy is released: the current text may be that very copy.
  if (length > 0) std::memcpy(copy, text, length);
  copy[length] = '\0';
  internal::CoreState& core = g_state.core;
  int32_t entry = core.tempSlotCopyIndex + 1;
  char*& kept = core.tempSlotCopies[entry - 1];
  ReleaseTrackedBlock(reinterpret_cast<Word>(kept));
  kept = copy;
  core.tempSlotCopyIndex = entry >= internal::kTempSlotCopies ? 0 : entry;
  return copy;
}

}  // namespace corvala
