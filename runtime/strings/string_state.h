// The strings subsystem's share of the runtime state (see runtime/core/state.h).
#pragma once

#include <cstdint>

#include "corvala/types.h"

namespace corvala::internal {

struct StringState {
  int32_t unused = 0;  // replaced by the subsystem's variables as they are built
};

}  // namespace corvala::internal
