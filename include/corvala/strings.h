// Strings and string arrays: primitives, search, arrays, elements and fields, loading, sorting,
// slicing, trimming, case, deferred texts.
#pragma once

#include <cstdint>

#include "corvala/types.h"

namespace corvala {}  // namespace corvala
