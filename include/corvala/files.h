/// @file
/// Files and output: file numbers, the text builder and its targets, storing, comparing, file
/// queries, the command line and resource strings.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "corvala/core.h"
#include "corvala/export.h"
#include "corvala/types.h"

namespace corvala {

// --- File numbers ----------------------------------------------------------------------------
// Files are named by the numbers 0 to 10, whose FileTable entries hold their handles. File
// arguments elsewhere take a file number (0 to 10) or the address of a file name. Numbers 9
// and 10 are the runtime's own working numbers (Store, Recall, FileRead$, file comparison,
// the fatal-error path): a caller's files kept there are lost to those operations. A value
// from 11 to 127 (and, where only a name is taken, 1 to 10) is no address: it stands for a
// name that cannot be opened, and a report names it by its number ("Could not open\n50...").

/// The entry and result of a failed open (the platform's invalid handle value).
inline constexpr Word kOpenFailed = static_cast<Word>(-1);

// An open never closes what the number's entry held before: the old handle stays open but
// is no longer reachable through the table. A file number outside 0 to 10 opens nothing and
// yields kOpenFailed. When an open fails, the file-error text (CommonData entry 7) says why:
// "File not found: " or "Could not open " and the name, cut to fit its 560 bytes.

/// Opens an existing file for reading on fileNumber and returns its handle (or kOpenFailed),
/// which is also stored in the entry. search: 0 opens the name as given; 1 looks it up along
/// the platform's standard search order first (the program's folder, the current folder,
/// then the folders of PATH); a text is a list of folders to look in, as SearchPathA takes it.
/// A name the search does not find fails without touching the file-error text.
CORVALA_API Word OpenInput(int32_t fileNumber, const char* name, TextArg search);

/// Opens a file for reading and writing on fileNumber. mode 'A'/'a' appends (created when
/// missing, positioned at its end), 'U'/'u' updates (created when missing, positioned at its
/// start, so writes overwrite and a longer old tail stays), any other code ('O') creates the
/// file or empties it.
CORVALA_API Word OpenOutput(int32_t fileNumber, const char* name, int32_t mode);

/// What ReadFromFile read.
struct FileBytes {
  int32_t count;  ///< the number of bytes read
  char* buffer;   ///< the buffer passed in
};
/// Reads up to count bytes from the file's position on. A free number or a failed open reads
/// nothing. Returns the bytes read and the buffer, so that the call chains as a text address.
CORVALA_API FileBytes ReadFromFile(int32_t fileNumber, void* buffer, int32_t count);

/// Sets the creation, last-access and last-write times of an open file (its handle, as the
/// FileTable holds it) to the current time. Returns non-zero on success. When check is not 0
/// a failure is fatal: the "GetLastError:" box with the system's text, exit code 0.
CORVALA_API int32_t TouchFile(Word handle, int32_t check);

// --- Storing an array ------------------------------------------------------------------------

/// Writes elements 0 to count - 1 of a string array as lines, each followed by CR LF, and
/// returns the number of lines written. A negative count stores all elements but the empty
/// ones at the end; 0 writes nothing. file: a file number (the lines go to its current
/// position and the file stays open), or a file name (created or emptied, and closed again).
/// The lines are staged in the scratch area, which is reset: temporary texts made before
/// Store are gone afterwards. A name that cannot be opened (11 to 127 too): ErrorCode 4; an array
/// that is undefined or erased: ErrorCode 7; a count above the element count: ErrorCode 6, with the
/// lines staged until then not written.
CORVALA_API int32_t Store(TextArg file, int32_t arrayNumber, int32_t count);

// --- Text builder and output targets --------------------------------------------------------

/// The TextControl word of BuildText. Bits 0 to 4 hold the piece count (1 to 29; 1 to 28 with
/// kBuildTracked); the natural form below fills them in.
inline constexpr uint32_t kBuildWaitKey = 1u << 5;         ///< console: then wait for a key
inline constexpr uint32_t kBuildWide = 1u << 10;           ///< address pieces are UTF-16 texts
inline constexpr uint32_t kTargetBuffer = 0x08u << 8;      ///< the fixed buffer of TargetBuffer
inline constexpr uint32_t kTargetWindow = 0x10u << 8;      ///< OutputWindow's text, byte text
inline constexpr uint32_t kTargetWindowWide = 0x14u << 8;  ///< OutputWindow's text, UTF-16
inline constexpr uint32_t kBuildTracked = 1u << 30;        ///< with kBuildAssign: a tracked string
inline constexpr uint32_t kBuildAssign = 1u << 31;         ///< assign to the destination element
/// Writes the result to file number n (0 to 10).
constexpr uint32_t BuildToFile(uint32_t fileNumber) { return (fileNumber + 1) << 6; }

/// Joins the pieces in order and delivers the text. A piece is 127 (the next function
/// result: n such pieces stand for the n newest temporary slots, the leftmost for the
/// oldest; a deferred text there is expanded in place), a shared-table id 0 to 119 (ids past
/// the table, and 120 to 126, are empty), or the address of a zero-terminated text. The
/// target, checked in this order: kBuildAssign (the element behind the destination slot, or
/// with kBuildTracked a new tracked heap string, the extra argument after the pieces naming
/// the old one to release), kTargetBuffer, kTargetWindow(Wide), a file number, else the console.
/// The destination slot is the one made just before the slots of the 127 pieces. Returns the text's
/// address (null when it was built in a temporary heap block, which is freed), or with
/// kBuildWaitKey the code of the key pressed. The result slot records the text's length. The ring
/// holds 15 results: more 127 pieces than that, or more than 14 beside a destination slot (the
/// buffer and plain assignment targets), end the run with ErrorCode 3 before anything is built,
/// since the oldest of those slots has already been reused.
///
/// The raw form: `arguments` holds the pieces and, with kBuildTracked, the old block.
CORVALA_API Word BuildText(uint32_t control, const Word* arguments);
/// The natural form: the piece count comes from the list (its last entry is the old block
/// with kBuildTracked). BuildText(0, {"Total: ", 127, 1}) writes to the console.
CORVALA_API Word BuildText(uint32_t control, std::initializer_list<TextArg> pieces);

/// Makes the destination slot of a kTargetBuffer build: the buffer and its capacity.
CORVALA_API void TargetBuffer(char* buffer, uint32_t capacity);
/// Makes the destination slot of a kBuildAssign build for a string variable of the caller's
/// own: the variable is a record like an array element (a positive length: it owns a heap
/// block from CountedAlloc, which the assignment replaces and frees).
CORVALA_API void TargetVariable(ElementRecord& variable);

/// The window whose text kTargetWindow sets.
extern CORVALA_API Word& OutputWindow;
/// The byte count for data with zero bytes: while non-zero, shorter address pieces of output
/// builds count this long and the file target writes exactly this many bytes; the file
/// target resets it to 0.
extern CORVALA_API int32_t& WriteByteCount;

/// Writes a zero-terminated byte text to standard output; returns the bytes written (0
/// without a console).
CORVALA_API uint32_t ConsoleWrite(const char* text);
/// The key WaitKey read.
struct KeyPress {
  int32_t code;      ///< the key's code; for an extended key its second code
  int32_t extended;  ///< 1 for an arrow or function key, else 0
};
/// Discards pending console input and waits for one key.
CORVALA_API KeyPress WaitKey();

// --- File comparison ------------------------------------------------------------------------

/// The result of FileCompare.
struct FileDifference {
  int32_t difference;  ///< first file's byte - second file's byte at the first difference, or 0
  uint32_t position;   ///< identical: their size; else the offset of the first difference
};
/// Compares two files byte by byte; mode 1 ignores letter case (every byte is compared with
/// bit 0x20 set, so carriage return and "-" match too). Files of different sizes give the
/// byte difference found (never 0) with the first file's size as the position. Uses file
/// numbers 9 and 10 (whatever they held is overwritten, and both are free afterwards); a file
/// that cannot be opened (a name of 1 to 127 included) ends the run with ErrorCode 5 naming
/// it. Sizes are taken from their low 32 bits. A file whose size is not known in advance (a
/// pipe, a device, a file of /proc) is read until it ends, and its size is the bytes read; if a
/// difference comes before its end, the position is that of the difference (an endless device
/// thus ends the comparison).
CORVALA_API FileDifference FileCompare(const char* name1, const char* name2, int32_t mode);

// --- Command line and resource strings ------------------------------------------------------

/// Argument `index` of the command line (0: the program as written), split by the runtime's
/// own rules: blanks and control characters separate arguments, and the character before an
/// argument (a space when none) ends it; an argument that begins with one of ! " # $ % & '
/// runs to the next of the same character, which is dropped. Returns the argument's text in
/// a new temporary slot, or null when there is no such argument or its quote is never
/// closed; the slot then reads "?". An argument longer than the scratch area's room is cut.
CORVALA_API const char* CommandLineArg(int32_t index);

/// String resource `id` of the program's own module in a new temporary slot: byte text for
/// an id of 0 or more, UTF-16 text of resource -id for a negative id (the returned address
/// then points at char16_t). The slot's length is in bytes. A missing string shows the
/// platform's message (ReportApiFailure) and gives the empty text.
CORVALA_API const char* ResourceString(int32_t id);

/// A string resource of the calling program: its id and its UTF-8 text.
struct StringResource {
  uint32_t id;       ///< the id ResourceString asks for
  const char* text;  ///< the zero-terminated UTF-8 text; empty reads as missing
};

/// Gives ResourceString the program's string table on POSIX, where programs carry no
/// resources (corvala_add_string_table in the CMake package generates the call from the
/// program's .rc file). The entries must stay valid; a later entry of an id replaces an
/// earlier one, and an empty text reads as missing. On Windows the program's own compiled
/// resources are read and the call does nothing.
CORVALA_API void RegisterStringTable(const StringResource* entries, int32_t count);

}  // namespace corvala

namespace corvala {

// --- File queries and file contents as text ----------------------------------------------------

/// A found file's properties, laid out as the platform's WIN32_FIND_DATAA record: attributes,
/// creation, last-access and last-write times (100 ns units since 1601, UTC), the size's high
/// and low halves, the name and the short name.
struct FindFileTime {
  uint32_t dwLowDateTime;   ///< the time's low 32 bits
  uint32_t dwHighDateTime;  ///< the time's high 32 bits
};
/// A found file's properties (FindData).
struct FindDataRecord {
  uint32_t dwFileAttributes;      ///< the platform's attribute bits
  FindFileTime ftCreationTime;    ///< when the file was created
  FindFileTime ftLastAccessTime;  ///< when it was last read
  FindFileTime ftLastWriteTime;   ///< when it was last written
  uint32_t nFileSizeHigh;         ///< the size's high 32 bits
  uint32_t nFileSizeLow;          ///< the size's low 32 bits
  uint32_t dwReserved0;           ///< reserved
  uint32_t dwReserved1;           ///< reserved
  char cFileName[260];            ///< the name, zero-terminated
  char cAlternateFileName[14];    ///< the short name, zero-terminated (may be empty)
};
/// The attributes of a plain file; FindData's attributes after a search that found nothing.
inline constexpr uint32_t kFileAttributeNormal = 0x80;

/// Looks for the first file that matches pattern (a name, possibly with the wildcards * and ?
/// in its last component) and leaves its properties in FindData. Returns the search handle,
/// also kept in FindHandle, or 0 when nothing matches. With closeSearch non-zero a found
/// search is closed at once (FindHandle 0) and the result is only a non-zero "found" flag.
/// A search that finds nothing (a pattern of 1 to 127 included) leaves FindData as it was,
/// except dwFileAttributes, which reads kFileAttributeNormal.
CORVALA_API Word FindFile(const char* pattern, int32_t closeSearch);
/// The properties of the file FindFile found last.
extern CORVALA_API FindDataRecord& FindData;
/// The open search handle of the latest FindFile, or 0.
extern CORVALA_API Word& FindHandle;

/// A file's size in two 32-bit halves.
struct FileSizeHalves {
  uint32_t low;   ///< the low 32 bits
  uint32_t high;  ///< the high 32 bits
};
/// The size of file number 0 to 10 or of the file named by the text. A free or failed file
/// number, a missing file, or a value from 11 to 127, gives 0xFFFFFFFF in both halves. Files
/// whose size is not known in advance report none: on Linux a pipe, a FIFO, /dev/stdin on a
/// pipe and the files of /proc and /sys give 0, by number and by name. On Windows a pipe handle
/// on a number fails (0xFFFFFFFF) or gives 0, as the system reports that pipe (a pipe the
/// program made fails, standard input on a pipe may give 0); never the bytes still to come.
CORVALA_API FileSizeHalves FileSize(TextArg file);

/// A deferred text for BuildText that stands for the whole contents of the file name: it
/// records the name's address (the name must stay valid until the piece is used) and the
/// size's low 32 bits, and the file is read, once, straight into the built text when it is
/// expanded (ExpandDeferredText). Returns the piece's address; its slot, the newest, holds the
/// file's size as its length. A missing file (a name of 1 to 127 included) ends the run with
/// ErrorCode 5 naming it. A file whose size is not known in advance (a pipe, a FIFO, a device,
/// a file that reports a size of 0 such as those of /proc) is read to its end at once instead,
/// since the builder needs the length first: the newest slot then shows its bytes as a plain
/// text (kept until a later such FileRead$ takes the same slot) and that text's address is
/// returned. An empty file on disk keeps the piece.
CORVALA_API const char* FileRead$(const char* name);

}  // namespace corvala
