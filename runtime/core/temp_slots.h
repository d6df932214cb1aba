// The ring's short way for a new result, inline for the hot conversions: once the ring has
// started and the scratch area has a write position, a new text is written there and
// committed without a call.
#pragma once

#include <cstddef>
#include <cstdint>

#include "corvala/core.h"
#include "runtime/core/state.h"

namespace corvala::internal {

// True when a new text may go straight to g_state.core.scratchWrite and CommitNewText.
inline bool ScratchReady() { return RingIndex() != 0 && g_state.core.scratchWrite != nullptr; }

// The ring's next record, made current.
inline TempSlot* StepRingForward() {
  int32_t& index = RingIndex();
  // Without a branch: the wrap every fifteenth result would be mispredicted.
  index = index + 1 - 15 * (index >= 15 ? 1 : 0);
  // A new result: the element an older result of this record showed is not its origin.
  g_state.core.slotOrigin[index] = 0;
  return &g_state.core.shared[kFirstSlotId + index];
}

// Gives the text from `text` to `end` (its terminator) to slot and moves the write position
// to the first multiple of 4 above the terminator, wrapping at the ring's end.
inline void CommitToSlot(const char* text, const char* end, TempSlot* slot) {
  slot->text = text;
  slot->length = static_cast<int32_t>(end - text);
  char* base = g_state.core.scratch;
  size_t next = (static_cast<size_t>(end - base) + 4) & ~static_cast<size_t>(3);
  g_state.core.scratchWrite = next >= kScratchRing ? base : base + next;
}

// With ScratchReady: the text from the write position to end becomes the newest result.
inline char* CommitNewText(const char* end) {
  char* text = g_state.core.scratchWrite;
  CommitToSlot(text, end, StepRingForward());
  return text;
}

}  // namespace corvala::internal
