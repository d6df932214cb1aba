// Forward occurrences of a byte pattern for callers that list every one (SubstituteText).
#pragma once

#include <cstdint>

namespace corvala::internal {

// Where a listing stopped.
struct OccurrenceList {
  uint32_t count;          // occurrences written to the entries
  const char* unlisted;    // an occurrence that found no room left, or null
  const char* terminator;  // the text's terminating zero when the scan reached it, or null
};

// Lists the matches of pattern (one byte or more) in text, matched as FindText matches them
// under flags (FindIgnoreCase, FindFirstIgnoreCase, FindWholeWord; a one-byte pattern
// exactly), each sought behind the end of the one before, as a run of FindText calls would
// find them. Each goes into the next of `room` entries as one address word (StorePointer).
// Stops after `limit` matches (0: no limit), at a match for which no entry is left, or at the
// terminator. Leaves LastFoundPosition alone.
OccurrenceList ListOccurrences(const char* text, const char* pattern, uint32_t flags,
                               uint32_t limit, char* entries, uint32_t room);

}  // namespace corvala::internal
