#include "runtime/core/temp_slots.h"

#include <cstdint>
#include <cstring>

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
  if (request != kSlotBack) return internal::StepRingForward();
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

__attribute__((noinline)) CommittedText CommitWithAnyRequest(char* end, Word request) {
  char* text = ScratchWritePosition();
  TempSlot* slot = SelectTempSlot(request);
  internal::CommitToSlot(text, end, slot);
  return {text, slot};
}

}  // namespace

CommittedText CommitScratchText(char* end, Word request) {
  // The common request, a new result once the runtime has started and written, takes the
  // short way: no text lies at address 1, so SelectTempSlot would step forward too.
  if (request != kSlotAdvance || !internal::ScratchReady()) {
    return CommitWithAnyRequest(end, request);
  }
  char* text = g_state.core.scratchWrite;
  TempSlot* slot = internal::StepRingForward();
  internal::CommitToSlot(text, end, slot);
  return {text, slot};
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
