// The files subsystem's share of the runtime state (see runtime/core/state.h).
#pragma once

#include <cstdint>

#include "corvala/files.h"
#include "corvala/types.h"

namespace corvala::internal {

struct FileState {
  // --- File queries ---------------------------------------------------------------------
  // The first match of the last FindFile, and its search handle (0 when none is open).
  FindDataRecord findData = {};
  Word findHandle = 0;
};

}  // namespace corvala::internal
