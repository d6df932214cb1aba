// The strings subsystem's share of the runtime state (see runtime/core/state.h).
#pragma once

#include <cstdint>

#include "corvala/types.h"

namespace corvala::internal {

struct StringState {
  int32_t unused = 0;  // replaced by the subsystem's variables as they are built

  // Loading a text file into an array.
  int32_t bareLineFeedCount = 0;  // line feeds without a carriage return in the latest Recall
};

}  // namespace corvala::internal
