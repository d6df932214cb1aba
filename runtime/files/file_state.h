// The files subsystem's share of the runtime state (see runtime/core/state.h).
#pragma once

#include <cstdint>

#include "corvala/files.h"
#include "corvala/types.h"

namespace corvala::internal {

// FileCompare's block: large, so that the reads are few.
inline constexpr uint32_t kCompareBlock = 1u << 16;

struct FileState {
  // --- File queries ---------------------------------------------------------------------
  // The first match of the last FindFile, and its search handle (0 when none is open).
  FindDataRecord findData = {};
  Word findHandle = 0;

  // The contents of files read whole by FileRead$ because their size was not known (pipes,
  // devices, /proc files), one per temporary slot: the slot's text is a view into the block,
  // released when a later such FileRead$ takes the same slot. Owner words as
  // runtime/files/read_to_end.h describes them; 0 when none.
  Word heldContents[16] = {};

  // --- Text builder ---------------------------------------------------------------------
  // The window the window targets set, and the byte count a caller sets for data with zero
  // bytes in it (0 normally).
  Word outputWindow = 0;
  int32_t writeByteCount = 0;

  // --- File comparison ------------------------------------------------------------------
  // The two blocks FileCompare reads the files into, each with room for its end mark.
  alignas(16) uint8_t compareBlocks[2][kCompareBlock + 16] = {};
};

}  // namespace corvala::internal
