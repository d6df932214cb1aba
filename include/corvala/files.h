// Files and output: file numbers, the text builder and its targets, storing, comparing, file
// queries, the command line and resource strings.
#pragma once

#include <cstdint>

#include "corvala/types.h"

namespace corvala {

// --- Command line and resource strings ------------------------------------------------------

// Argument `index` of the command line (0: the program as written), split by the runtime's
// own rules: blanks and control characters separate arguments, and the character before an
// argument (a space when none) ends it; an argument that begins with one of ! " # $ % & '
// runs to the next of the same character, which is dropped. Returns the argument's text in
// a new temporary slot, or null when there is no such argument or its quote is never
// closed; the slot then reads "?". An argument longer than the scratch area's room is cut.
const char* CommandLineArg(int32_t index);

// String resource `id` of the program's own module in a new temporary slot: byte text for
// an id of 0 or more, UTF-16 text of resource -id for a negative id (the returned address
// then points at char16_t). The slot's length is in bytes. A missing string shows the
// platform's message (ReportApiFailure) and gives the empty text.
const char* ResourceString(int32_t id);

}  // namespace corvala

namespace corvala {

// --- File queries and file contents as text ----------------------------------------------------

// A found file's properties, laid out as the platform's WIN32_FIND_DATAA record: attributes,
// creation, last-access and last-write times (100 ns units since 1601, UTC), the size's high
// and low halves, the name and the short name.
struct FindFileTime {
  uint32_t dwLowDateTime;
  uint32_t dwHighDateTime;
};
struct FindDataRecord {
  uint32_t dwFileAttributes;
  FindFileTime ftCreationTime;
  FindFileTime ftLastAccessTime;
  FindFileTime ftLastWriteTime;
  uint32_t nFileSizeHigh;
  uint32_t nFileSizeLow;
  uint32_t dwReserved0;
  uint32_t dwReserved1;
  char cFileName[260];
  char cAlternateFileName[14];
};
inline constexpr uint32_t kFileAttributeNormal = 0x80;

// Looks for the first file that matches pattern (a name, possibly with the wildcards * and ?
// in its last component) and leaves its properties in FindData. Returns the search handle,
// also kept in FindHandle, or 0 when nothing matches. With closeSearch non-zero a found
// search is closed at once (FindHandle 0) and the result is only a non-zero "found" flag.
// A search that finds nothing leaves FindData as it was, except dwFileAttributes, which
// reads kFileAttributeNormal.
Word FindFile(const char* pattern, int32_t closeSearch);
extern FindDataRecord& FindData;
extern Word& FindHandle;

// The size of file number 0 to 10 or of the file named by the text. A free or failed file
// number, a missing file, or a value from 11 to 127, gives 0xFFFFFFFF in both halves.
struct FileSizeHalves {
  uint32_t low;
  uint32_t high;
};
FileSizeHalves FileSize(TextArg file);

// A deferred text for BuildText that stands for the whole contents of the file name: it
// records the name's address (the name must stay valid until the piece is used) and the
// size's low 32 bits, and the file is read, once, straight into the built text when it is
// expanded (ExpandDeferredText). Returns the piece's address; its slot, the newest, holds the
// file's size as its length. A missing file ends the run with ErrorCode 5 naming it.
const char* FileRead$(const char* name);

}  // namespace corvala
