#include <cstdint>

#include "corvala/core.h"
#include "runtime/core/state.h"

namespace corvala {
namespace {

using internal::g_state;
using internal::RingIndex;

TempSlot* SlotRecord(int32_t index) { return &g_state.core.shared[internal::kFirstSlotId + index]; }

}  // namespace

TempSlot* SelectTempSlot(Word request) {
  if (RingIndex() == 0) RuntimeStartup();
  int32_t& index = RingIndex();
  TempSlot* current = SlotRecord(index);
  if (request == reinterpret_cast<Word>(current->text) || request == kSlotCurrent) return current;
  if (request == kSlotBack) {
    index = index - 1 <= 0 ? 15 : index - 1;
  } else {
    index = index >= 15 ? 1 : index + 1;
  }
  return SlotRecord(index);
}

Word& SlotOrigin(int slot) { return g_state.core.slotOrigin[slot]; }

int32_t TempSlotIndex() { return RingIndex(); }

char* ScratchWritePosition() {
  char*& write = g_state.core.scratchWrite;
  if (write == nullptr) write = g_state.core.scratch;
  return write;
}

CommittedText CommitScratchText(char* end, Word request) {
  char* text = ScratchWritePosition();
  TempSlot* slot = SelectTempSlot(request);
  slot->text = text;
  slot->length = static_cast<int32_t>(end - text);
  // Next text starts at the first multiple of 4 above the terminator.
  char* base = g_state.core.scratch;
  size_t next = (static_cast<size_t>(end - base) + 4) & ~static_cast<size_t>(3);
  g_state.core.scratchWrite = next >= internal::kScratchRing ? base : base + next;
  return {text, slot};
}

}  // namespace corvala
