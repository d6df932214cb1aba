// Strings and string arrays: primitives, search, arrays, elements and fields, loading, sorting,
// slicing, trimming, case, deferred texts.
#pragma once

#include <cstdint>

#include "corvala/core.h"
#include "corvala/types.h"

namespace corvala {

// --- String primitives ----------------------------------------------------------------------
// Plain functions of their arguments: no state, no allocation, no errors. Safe to call from
// anywhere, the fatal-error path included.

// Bytes before the terminating zero. Reads whole aligned 16-byte blocks, so it never touches
// a page the string does not occupy.
uint32_t TextLength(const char* text);
// 16-bit units before the terminating zero unit.
uint32_t WideTextLength(const char16_t* text);

// Copies count bytes (count >= 0) or TextLength(source) + count + 2 bytes (count < 0: -1 is
// the text with its terminator, -2 without it, each further step one byte less; nothing when
// that comes to less than 0). Returns destination + the number of bytes copied. The two
// ranges must not overlap.
char* CopyBytes(char* destination, const char* source, int32_t count);

struct TextComparison {
  int32_t difference;  // a[offset] - b[offset], bytes as stored and unsigned (-255 to 255)
  uint32_t offset;     // first position where the texts differ or either one ends
};
// mode 0 compares exactly; any other mode with bit 5 (32) set in every byte of both texts,
// so letters match regardless of case. The difference always comes from the stored bytes.
TextComparison CompareTexts(const char* a, const char* b, int32_t mode);

// --- Substring search -----------------------------------------------------------------------

// FindText flags; other bits are ignored.
inline constexpr uint32_t FindIgnoreCase = 1;       // bit 5 set on both sides of every byte
inline constexpr uint32_t FindFirstIgnoreCase = 2;  // only the pattern's first byte
inline constexpr uint32_t FindWholeWord = 4;        // bytes above 64 are word bytes
inline constexpr uint32_t FindReverse = 64;         // the last match before the start
inline constexpr uint32_t FindWide = 128;           // UTF-16 texts; only FindIgnoreCase applies

struct FoundText {
  const char* address;  // first byte (for FindWide: first unit) of the match, or null
  int32_t position;     // 1-based position in bytes (units), or 0
};

// Finds pattern in text. A text or pattern of 0 to 127 is a temporary-slot reference: one
// such argument is the current slot's text; when both are, the text is the previous slot's
// text, the pattern the current one's, and the slot ring steps back by one.
// start >= 1 begins at that position, which lies within the text or just behind it; 0
// continues from the last result (the same text is assumed); below 0 begins at the start, or
// for FindReverse at the end. A one-byte pattern is sought exactly whatever the flags; an
// empty pattern is a miss. The position is also left in LastFoundPosition.
FoundText FindText(int32_t start, TextArg text, TextArg pattern, uint32_t flags);

extern int32_t& LastFoundPosition;

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
