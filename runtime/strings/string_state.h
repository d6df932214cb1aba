// The strings subsystem's share of the runtime state (see runtime/core/state.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "corvala/strings.h"
#include "corvala/types.h"

namespace corvala::internal {

// The last field read and its text: the access record lies directly in front of the text.
struct FieldArea {
  FieldAccess last;
  char buffer[kFieldBufferSize];
};

struct StringState {
  // Arrays and element access: the latest ElementText call, and the field it extracted.
  ElementAccess lastElementAccess;
  FieldArea field;
};

static_assert(offsetof(FieldArea, buffer) == sizeof(FieldAccess));

}  // namespace corvala::internal
