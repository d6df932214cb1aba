// Strings and string arrays: primitives, search, arrays, elements and fields, loading, sorting,
// slicing, trimming, case, deferred texts.
#pragma once

#include <cstdint>

#include "corvala/core.h"
#include "corvala/types.h"

namespace corvala {

// --- Loading a text file into an array -------------------------------------------------------

// Recall's last argument: nothing (0), a field marker for the loaded array (kTabFields, or
// kCommaFields and below), or a variable that receives the number of lines. Other numbers
// mean nothing.
class RecallMode {
 public:
  constexpr RecallMode(int32_t marker) : marker_(marker <= kTabFields ? marker : 0) {}
  constexpr RecallMode(int32_t* lineCount) : lineCount_(lineCount) {}
  constexpr int32_t marker() const { return marker_; }
  constexpr int32_t* lineCount() const { return lineCount_; }

 private:
  int32_t marker_ = 0;
  int32_t* lineCount_ = nullptr;
};

struct RecallResult {
  int32_t lines;
  int32_t bytes;
};

// Loads a text file into array arrayNumber (1 to 19), one element per line, and returns the
// number of lines and of bytes loaded. file: a file number open for input (reading starts at
// its position) or a file name (opened on number 9, as given). Either way the file is closed
// and its number freed. Lines end at CR LF only; a line feed without a carriage return stays
// in its line and is counted in BareLineFeedCount. Data that does not end with CR LF (an
// empty file, say) has one more line after the last break. The elements point into one
// block holding the whole file (their lengths are stored negative); the array is released
// with two releases. userValue, if not 0, becomes the array's user value. Array number 0 is
// the working slot and is left erased. A file that cannot be opened, or a number holding no
// open file: ErrorCode 5 with the name (or the number).
RecallResult Recall(TextArg file, int32_t arrayNumber, Word userValue, RecallMode mode);

// Line feeds not preceded by a carriage return in the latest Recall.
extern int32_t& BareLineFeedCount;

}  // namespace corvala

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

}  // namespace corvala
