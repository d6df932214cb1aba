// Strings and string arrays: primitives, search, arrays, elements and fields, loading, sorting,
// slicing, trimming, case, deferred texts.
#pragma once

#include <cstdint>

#include "corvala/core.h"
#include "corvala/types.h"

namespace corvala {}  // namespace corvala

namespace corvala {

// --- Substrings, trimming and case -----------------------------------------------------------
// Each yields one temporary-slot result and returns that slot.

// A view into source (no copy, no terminator): source is a text, kCurrentSlot, or a shared-
// string id below 127 (ids past the last slot record read as an empty text). Positions are
// 1-based; in order:
// - count 0 or start 0: an empty view at the source's start;
// - start < 0: the last count bytes, or the whole text when count < 0 or count > length;
// - start > length: an empty view at the source's start;
// - otherwise from start on, count bytes, or the whole rest when count is larger (a negative
//   count is larger).
// For kCurrentSlot the result replaces the current slot; otherwise it replaces the current
// slot when it starts where that slot's text starts, and takes the next slot in every other
// case.
const TempSlot* SliceText(TextArg source, int32_t count, int32_t start);

// Blank bytes are 1 to 32 and 128 to 255 (signed, at most 32); a zero byte ends the text.
inline constexpr uint32_t TrimLeading = 1;
inline constexpr uint32_t TrimTrailing = 2;
// A zero-terminated copy of source without its leading and/or trailing blanks, written to the
// scratch area and committed as the next slot. A null source is the uncommitted text at the
// scratch write position (trimmed in place). A result that would end past the scratch area's
// text limit ends the run with ErrorCode 9.
const TempSlot* TrimText(const char* source, uint32_t flags);

// A zero-terminated upper-case (upper != 0) or lower-case copy of source (null: the empty
// text) in a new tracked heap block, mapped by the system's ANSI code page, in the next slot.
// The block stays until ReleaseTrackedBlock; allocation failure is ErrorCode 1, a full
// tracked-block table ErrorCode 8.
const TempSlot* ConvertCase(const char* source, int32_t upper);

}  // namespace corvala
