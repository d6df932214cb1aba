// The UTF-16 half of FindText.
#pragma once

#include <cstdint>

namespace corvala::internal {

// The first unit of the match, or null; start and flags as for FindText (FindIgnoreCase and
// FindReverse apply). Reads LastFoundPosition for start 0, leaves storing it to the caller.
const char16_t* FindWideText(int32_t start, const char16_t* text, const char16_t* pattern,
                             uint32_t flags);

}  // namespace corvala::internal
