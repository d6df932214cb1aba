#include "corvala/core.h"
#include "runtime/core/state.h"

namespace corvala {
namespace {

Word* Entries() { return internal::g_state.core.trackedBlocks; }

// Clears the entry before releasing, so that a fatal error raised by the release itself
// (its clean-up releases every tracked block) does not meet the same block again.
void Release(Word& entry) {
  void* block = reinterpret_cast<void*>(entry);
  entry = 0;
  CountedFree(block);
}

}  // namespace

const Word* TrackedBlockTable() { return Entries(); }

void* TrackBlock(void* block) {
  for (int i = 0; i < kCvHeapStrings; ++i) {
    if (Entries()[i] == 0) {
      Entries()[i] = reinterpret_cast<Word>(block);
      return block;
    }
  }
  FatalError(kErrorTooManyStrings, 0);
}

void* AllocTracked(size_t size, uint32_t flags) { return TrackBlock(CountedAlloc(size, flags)); }

void ReleaseTrackedBlock(Word block) {
  if (block == 0) return;
  for (int i = 0; i < kCvHeapStrings; ++i) {
    Word& entry = Entries()[i];
    if (block == kReleaseAllTracked) {
      if (entry != 0) Release(entry);
    } else if (entry == block) {
      Release(entry);
      return;
    }
  }
}

}  // namespace corvala
