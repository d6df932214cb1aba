// Strings and string arrays: primitives, search, arrays, elements and fields, loading, sorting,
// slicing, trimming, case, deferred texts.
#pragma once

#include <cstdint>

#include "corvala/core.h"
#include "corvala/types.h"

namespace corvala {}  // namespace corvala

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
