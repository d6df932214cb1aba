/// @file
/// Strings and string arrays: primitives, search, arrays, elements and fields, loading, sorting,
/// slicing, trimming, case, deferred texts.
#pragma once

#include <cstdint>

#include "corvala/core.h"
#include "corvala/export.h"
#include "corvala/types.h"

namespace corvala {

// --- Loading a text file into an array -------------------------------------------------------

/// Recall's last argument: nothing (0), a field marker for the loaded array (kTabFields, or
/// kCommaFields and below), or a variable that receives the number of lines. Other numbers
/// mean nothing.
class RecallMode {
 public:
  /// 0 or a field marker (kTabFields, kCommaFields and below); other numbers act as 0.
  constexpr RecallMode(int32_t marker) : marker_(marker <= kTabFields ? marker : 0) {}
  /// A variable that receives the number of lines.
  constexpr RecallMode(int32_t* lineCount) : lineCount_(lineCount) {}
  /// The field marker, or 0.
  constexpr int32_t marker() const { return marker_; }
  /// The variable for the number of lines, or null.
  constexpr int32_t* lineCount() const { return lineCount_; }

 private:
  int32_t marker_ = 0;
  int32_t* lineCount_ = nullptr;
};

/// What Recall loaded.
struct RecallResult {
  int32_t lines;   ///< the number of lines, that is elements
  intptr_t bytes;  ///< the number of bytes read: 32 bits on i686; 64-bit builds load 2 GB and more
};

/// Loads a text file into array arrayNumber (1 to 19), one element per line, and returns the
/// number of lines and of bytes loaded. file: a file number open for input (reading starts at
/// its position) or a file name (opened on number 9, as given). Either way the file is closed
/// and its number freed. Lines end at CR LF only; a line feed without a carriage return stays
/// in its line and is counted in BareLineFeedCount. Data that does not end with CR LF (an
/// empty file, say) has one more line after the last break. The elements point into one
/// block holding the whole file (their lengths are stored negative); the array is released
/// with two releases. userValue, if not 0, becomes the array's user value. An array number
/// outside 1 to 19 (0 is Recall's working number): ErrorCode 6, before anything is opened. A
/// file that cannot be opened, a number holding no open file, or a value from 11 to 127:
/// ErrorCode 5 with the name (or the number). A file an array cannot hold, with a line of 2 GB
/// or more (element lengths are 32-bit) or more than 2,147,483,645 line breaks: ErrorCode 5
/// with the reason before the name. A 32-bit build loads less than 2 GB.
///
/// A file whose size is not known in advance (a pipe, a FIFO, standard input, a device, a
/// file that reports a size of 0 such as those of /proc) is read to its end.
CORVALA_API RecallResult Recall(TextArg file, int32_t arrayNumber, Word userValue, RecallMode mode);

/// Line feeds not preceded by a carriage return in the latest Recall.
extern CORVALA_API int32_t& BareLineFeedCount;

}  // namespace corvala

namespace corvala {

// --- String primitives ----------------------------------------------------------------------
// Plain functions of their arguments: no state, no allocation, no errors. Safe to call from
// anywhere, the fatal-error path included.

/// Bytes before the terminating zero. Reads whole aligned 16-byte blocks, so it never touches
/// a page the string does not occupy.
CORVALA_API uint32_t TextLength(const char* text);
/// 16-bit units before the terminating zero unit.
CORVALA_API uint32_t WideTextLength(const char16_t* text);

/// Copies count bytes (count >= 0) or TextLength(source) + count + 2 bytes (count < 0: -1 is
/// the text with its terminator, -2 without it, each further step one byte less; nothing when
/// that comes to less than 0). Returns destination + the number of bytes copied. The two
/// ranges must not overlap.
CORVALA_API char* CopyBytes(char* destination, const char* source, int32_t count);

/// The result of CompareTexts.
struct TextComparison {
  int32_t difference;  ///< a[offset] - b[offset], bytes as stored and unsigned (-255 to 255)
  uint32_t offset;     ///< first position where the texts differ or either one ends
};
/// Compares two zero-terminated texts. mode 0 compares exactly; any other mode with bit 5 (32) set
/// in every byte of both texts, so letters match regardless of case. The difference always comes
/// from the stored bytes.
CORVALA_API TextComparison CompareTexts(const char* a, const char* b, int32_t mode);

// --- Substring search -----------------------------------------------------------------------

// FindText flags; other bits are ignored.
inline constexpr uint32_t FindIgnoreCase = 1;       ///< bit 5 set on both sides of every byte
inline constexpr uint32_t FindFirstIgnoreCase = 2;  ///< only the pattern's first byte
inline constexpr uint32_t FindWholeWord = 4;        ///< bytes above 64 are word bytes
inline constexpr uint32_t FindReverse = 64;         ///< the last match before the start
inline constexpr uint32_t FindWide = 128;           ///< UTF-16 texts; only FindIgnoreCase applies

/// The result of FindText.
struct FoundText {
  const char* address;  ///< first byte (for FindWide: first unit) of the match, or null
  int32_t position;     ///< 1-based position in bytes (units), or 0
};

/// Finds pattern in text. A text or pattern of 0 to 127 is a temporary-slot reference: one
/// such argument is the current slot's text; when both are, the text is the previous slot's
/// text, the pattern the current one's, and the slot ring steps back by one.
/// start >= 1 begins at that position, which lies within the text or just behind it; 0
/// continues from the last result (the same text is assumed); below 0 begins at the start, or
/// for FindReverse at the end. A one-byte pattern is sought exactly whatever the flags; an
/// empty pattern is a miss. The position is also left in LastFoundPosition.
CORVALA_API FoundText FindText(int32_t start, TextArg text, TextArg pattern, uint32_t flags);

/// The position of the latest FindText result (0 for a miss).
extern CORVALA_API int32_t& LastFoundPosition;

// --- String arrays, element access and fields, sorting ---------------------------------------

// The two-index value: bit 31 set, the first index (or extent) in bits 0 to 22, the second
// index (or a field number) in bits 23 to 30.
inline constexpr uint32_t kTwoIndex = 0x80000000u;        ///< marks a two-index value
inline constexpr uint32_t kFirstIndexMask = 0x007FFFFFu;  ///< the first index's bits
inline constexpr int kSecondIndexShift = 23;              ///< where the second index begins
/// The two-index value of first (bits 0 to 22) and second (bits 23 to 30).
constexpr uint32_t TwoIndex(uint32_t first, uint32_t second) {
  return kTwoIndex | ((second & 0xFFu) << kSecondIndexShift) | (first & kFirstIndexMask);
}
/// True for a two-index value (bit 31 set).
constexpr bool IsTwoIndex(uint32_t value) { return (value & kTwoIndex) != 0; }
/// The first index of a two-index value.
constexpr uint32_t FirstIndex(uint32_t value) { return value & kFirstIndexMask; }
/// The second index (or field number) of a two-index value.
constexpr uint32_t SecondIndex(uint32_t value) { return (value >> kSecondIndexShift) & 0xFFu; }

// Array numbers are 0 to 19; any other number reports ErrorCode 6, as in EraseArray.

/// Creates array `arrayNumber` after releasing what it held. With v = n + 1: bit 31 of v clear
/// gives v elements (indices 0 to n); bit 31 set gives a two-dimensional array of
/// FirstIndex(v) rows and SecondIndex(v) + 1 columns, R x M elements in all. Every element
/// reads as the empty text. The user value is read back as the pseudo-element -1.
CORVALA_API ArrayDescriptor* DimArray(int32_t arrayNumber, int32_t n, Word userValue);
/// Exchanges the two table entries, whatever they hold.
CORVALA_API void SwapArrays(int32_t a, int32_t b);

/// The array number and linear element index of the latest ElementText call, recorded before
/// the index is checked. InsertElements works on it.
struct ElementAccess {
  int32_t arrayNumber;  ///< the array number
  int32_t index;        ///< the linear element index
};
/// The latest ElementText call's array and index.
extern CORVALA_API ElementAccess& LastElementAccess;

/// At the element k of LastElementAccess: n > 0 inserts n empty elements before k, n = 0
/// empties element k, n < 0 removes the |n| elements from k on (releasing the texts they own).
/// A new count of 0 or below changes nothing. The descriptor moves (one spare record behind
/// the last element). ErrorCode 6 when the array is undefined or k (and k + |n| when
/// removing) lies outside the array; ErrorCode 7 when it was erased; ErrorCode 1 when the
/// descriptor cannot be reallocated.
/// A new count above 2^31 - 1 is not wrapped to a negative count that would change nothing
/// (as DimArray's 32-bit arithmetic does): the count is taken whole, cannot be held, and ends
/// the run with ErrorCode 1, so an insertion never fails unnoticed.
CORVALA_API void InsertElements(int32_t n);

/// Arrays of fixed-size records: a zeroed, tracked block holding the 32-bit record count, the
/// 32-bit record size, then the records; the table entry holds the first record's address.
/// Whatever the entry held is overwritten without being released. Returns the first record.
CORVALA_API void* DimRecordArray(int32_t arrayNumber, int32_t recordSize, int32_t maxIndex);
/// source >= 0: copies record `source` over record `destination`. source < 0: with v = -source,
/// writes (v >> 3) records (0: the array's count) from `destination` on to file number v & 7.
/// An index (or a run of records) beyond the last record reports ErrorCode 6.
CORVALA_API void CopyRecord(int32_t source, int32_t destination, int32_t arrayNumber);

/// Reads one element: the text and signed length go to the next temporary slot, whose
/// SlotOrigin becomes the element record. `index` is a linear index (-1: the user value as
/// text, the shape as length) or, in a shaped array, a two-index value: row + column x R in a
/// two-dimensional array, element and field number in an array with a field marker. An
/// element never assigned reads as EmptyText. A missing field reads as EmptyText; a field is
/// copied into the field buffer (cut to kFieldBufferSize - 1 bytes). ErrorCode 7 for an
/// undefined or erased array, ErrorCode 6 for an index at or above the count or below -1.
CORVALA_API TextRecord ElementText(int32_t arrayNumber, uint32_t index);

/// The field buffer's size in bytes, the terminator included.
inline constexpr int kFieldBufferSize = 3584;
/// The field buffer: every field result is at this one address; the next field read
/// overwrites it.
CORVALA_API const char* FieldBuffer();
/// Written by every field read that finds its field, and stored directly in front of the
/// field buffer. The field start and length describe the field as it lies in the element
/// (its full length even when the copy in the buffer was cut).
struct FieldAccess {
  ElementRecord* record;    ///< the element's record
  const char* elementText;  ///< the element's text
  int32_t elementLength;    ///< the element's length
  const char* fieldStart;   ///< the field's first byte in the element
  int32_t fieldLength;      ///< the field's length in the element
};
/// The latest field read that found its field.
extern CORVALA_API FieldAccess& LastFieldAccess;

/// Sorts the first `count` elements (0: all) of array `arrayNumber` by their texts ignoring
/// letter case, ascending, or descending for a negative array number. Only the element records
/// move. The order is the C locale's case-insensitive one (A to Z read as a to z, bytes
/// compared unsigned); unassigned elements sort as empty texts; texts equal but for case end
/// in no particular order. ErrorCode 7 when the array is undefined or erased, ErrorCode 6 when
/// count is negative or above the element count.
CORVALA_API void SortArray(int32_t arrayNumber, int32_t count);

// --- Substrings, trimming and case -----------------------------------------------------------
// Each leaves its result in a temporary slot and returns the result's text address.

/// A view into source (no copy, no terminator): source is a text, kCurrentSlot, or a shared-
/// string id below 127 (ids past the last slot record read as an empty text). Positions are
/// 1-based; in order:
/// - count 0 or start 0: an empty view at the source's start;
/// - start < 0: the last count bytes, or the whole text when count < 0 or count > length;
/// - start > length: an empty view at the source's start;
/// - otherwise from start on, count bytes, or the whole rest when count is larger (a negative
///   count is larger).
/// For kCurrentSlot the result replaces the current slot; otherwise it replaces the current
/// slot when it starts where that slot's text starts, and takes the next slot in every other
/// case.
CORVALA_API const char* SliceText(TextArg source, int32_t count, int32_t start);

// TrimText flags. Blank bytes are 1 to 32 and 128 to 255 (signed, at most 32); a zero byte
// ends the text.
inline constexpr uint32_t TrimLeading = 1;   ///< remove leading blanks
inline constexpr uint32_t TrimTrailing = 2;  ///< remove trailing blanks

/// A zero-terminated copy of source without its leading and/or trailing blanks, written to the
/// scratch area and committed as the next slot. A null source is the uncommitted text at the
/// scratch write position (trimmed in place). A result that would end past the scratch area's
/// text limit ends the run with ErrorCode 9.
CORVALA_API const char* TrimText(const char* source, uint32_t flags);

/// A zero-terminated upper-case (upper != 0) or lower-case copy of source (null: the empty
/// text) in a new tracked heap block, mapped by the system's ANSI code page, in the next slot.
/// The block stays until ReleaseTrackedBlock; allocation failure is ErrorCode 1, a full
/// tracked-block table ErrorCode 8.
CORVALA_API const char* ConvertCase(const char* source, int32_t upper);

// --- Deferred texts ---------------------------------------------------------------------------
// A deferred text is a small descriptor in the scratch area that stands for a text still to be
// written: a substitution, a block of zero bytes, or a file's contents (FileRead$). Its slot's
// length is the finished text's length. BuildText recognises it in the current slot
// (IsDeferredText) and writes the finished text straight into its result with
// ExpandDeferredText; used any other way it is just its descriptor bytes. The texts it refers
// to (source, replacement, file name) are not copied: they must stay unchanged until it has
// been expanded.

/// SubstituteText's control word: bits 0 to 7 are FindText flags, bits 8 to 15 the largest
/// number of occurrences to replace (0: all).
inline constexpr uint32_t kSubstituteLimitShift = 8;

/// Replaces the occurrences of sought in text by replacement (zero-terminated byte texts; no
/// slot references). Of the FindText flags only FindIgnoreCase, FindFirstIgnoreCase and
/// FindWholeWord apply: the texts are bytes and the occurrences are listed forwards, so
/// FindWide and FindReverse are ignored. As in FindText, a one-byte sought text is matched
/// exactly whatever the flags. Occurrences do not overlap: the search goes on behind each one.
/// An empty sought text leaves the source unchanged. Returns the finished length, source length
/// + occurrences x (replacement length - sought length); the deferred text is in the next slot.
/// Each occurrence takes one word of the scratch area: a descriptor that would pass its text
/// limit, or a finished length above 2^31 - 1, ends the run with ErrorCode 9.
CORVALA_API int32_t SubstituteText(const char* text, const char* sought, const char* replacement,
                                   uint32_t control);

/// A deferred block of n zero bytes in the next slot, whose length is n + 1 (the expansion
/// writes n bytes). Returns the descriptor's address. n of 0 or below, or 2^31 - 1, ends the
/// run with ErrorCode 9.
CORVALA_API const char* New$(int32_t n);

/// True when text (a slot's text) is a deferred text: it lies in the scratch area and begins
/// with the word -124. Never reads outside the scratch area.
CORVALA_API bool IsDeferredText(const char* text);

/// Writes the finished text of the deferred text at descriptor to output and returns the
/// number of bytes written; no terminator. At most capacity bytes are written: pass the
/// magnitude of the slot's length. A substitution writes its finished length. Zero bytes:
/// n bytes (one less than the slot's length). File contents: the file is opened on file
/// number 10 by its name as given, the recorded size is read straight into output, and number
/// 10 is closed; a file that is missing or yields fewer bytes than recorded leaves the rest of
/// the recorded size as zero bytes, so the result is always the recorded size.
CORVALA_API uint32_t ExpandDeferredText(const char* descriptor, char* output, uint32_t capacity);

}  // namespace corvala
