// The files subsystem's share of the runtime state (see runtime/core/state.h).
#pragma once

#include <cstdint>

#include "corvala/types.h"

namespace corvala::internal {

struct FileState {
  int32_t unused = 0;  // replaced by the subsystem's variables as they are built

  // Text builder: the window the window targets set, and the byte count a caller sets for
  // data with zero bytes in it (0 normally).
  Word outputWindow = 0;
  int32_t writeByteCount = 0;
};

}  // namespace corvala::internal
