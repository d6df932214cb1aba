// Numbers: number to text, text to number, integer text and tolerant comparison.
#pragma once

#include <cstdint>

#include "corvala/types.h"

namespace corvala {}  // namespace corvala
