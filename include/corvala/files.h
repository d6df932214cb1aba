// Files and output: file numbers, the text builder and its targets, storing, comparing, file
// queries, the command line and resource strings.
#pragma once

#include <cstdint>

#include "corvala/types.h"

namespace corvala {}  // namespace corvala
