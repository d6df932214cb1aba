// The strings subsystem's share of the runtime state (see runtime/core/state.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "corvala/strings.h"
#include "corvala/types.h"

namespace corvala::internal {

inline constexpr int kFoldBufferUnits = 3200;

// The last field read and its text: the access record lies directly in front of the text.
struct FieldArea {
  FieldAccess last;
  char buffer[kFieldBufferSize];
};
static_assert(offsetof(FieldArea, buffer) == sizeof(FieldAccess));

struct StringState {
  // --- Substring search -------------------------------------------------------------------
  // 1-based position of the last match, 0 after a miss; a start of 0 continues from it.
  int32_t lastFoundPosition = 0;
  // Text length measured by the last forward one-byte search from a given start; a continued
  // one-byte search scans up to it.
  int32_t lastSearchLength = 0;
  // Lower-case (0) and upper-case (1) copies of a wide pattern searched ignoring case.
  char16_t foldBuffers[2][kFoldBufferUnits] = {};

  // --- Arrays and element access ----------------------------------------------------------
  // The latest ElementText call, and the last field it extracted.
  ElementAccess lastElementAccess = {};
  FieldArea field = {};

  // --- Loading a text file into an array --------------------------------------------------
  // Line feeds without a carriage return in the latest Recall.
  int32_t bareLineFeedCount = 0;
};

}  // namespace corvala::internal
