// Forward occurrences of a byte pattern for callers that list every one (SubstituteText).
#pragma once

#include <cstdint>

namespace corvala::internal {

// The next match of pattern (one byte or more) in text at or after from, matched as FindText
// matches it under flags (FindIgnoreCase, FindFirstIgnoreCase, FindWholeWord; a one-byte
// pattern exactly), or null. On a miss, *terminator is set to the text's terminating zero.
// Leaves LastFoundPosition alone.
const char* NextOccurrence(const char* text, const char* from, const char* pattern, uint32_t flags,
                           const char** terminator);

}  // namespace corvala::internal
