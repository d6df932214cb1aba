// TextToNumber with its one-pass reading of plain integers switchable, so that the fuzz
// target can hold the shortcut to the full way's results.
#pragma once

#include <cstdint>

#include "corvala/numbers.h"

namespace corvala::internal {

// TextToNumber itself with onePass; without it every text takes the full way.
NumberReading ConvertTextToNumber(TextArg source, Word destination, int32_t kind, bool onePass);

}  // namespace corvala::internal
