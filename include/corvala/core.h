/// @file
/// Runtime core: start-up and shared state, temporary result slots and the scratch area,
/// the counted heap and the fatal-error path, the array and file tables.
#pragma once

#include <cstddef>
#include <cstdint>

#include "corvala/export.h"
#include "corvala/types.h"

namespace corvala {

// --- Start-up and shared state -------------------------------------------------------------

/// Checks the processor for SSE2 (without it: the box "Sorry, Corvala needs SSE2" and exit
/// code -99), fills shared-string ids 0 to 7 (id 6 is the program's folder with its trailing
/// separator) and the bit-count table. Runs by itself whenever a routine touches the slot
/// ring before the ring first moves; running it again rewrites the same values.
CORVALA_API void RuntimeStartup();

/// The shared string table: ids 0 to 9, then temporary slot k at id 10 + k. The second word
/// of id 9 is the ring index.
CORVALA_API const TextRecord* SharedStringTable();
/// Entry b is the number of set bits in the byte value b.
CORVALA_API const uint8_t* BitCountTable();
/// The program's folder, zero-terminated, ending with its separator (or empty).
CORVALA_API const char* ModuleFolder();

/// The "Common data" block: a 16-byte tag, fifteen word entries (entry n at index n - 1),
/// then the date and time formats. Entry 6 is the default number of significant digits.
struct CommonDataBlockView {
  const char* tag;         ///< the 16-byte tag
  const Word* entries;     ///< the fifteen entries; entry n at index n - 1
  const char* dateFormat;  ///< the date format text
  const char* timeFormat;  ///< the time format text
};
/// The "Common data" block's parts.
CORVALA_API CommonDataBlockView CommonData();

/// The version of the runtime that is running, not of the headers a program was built with.
struct VersionInfo {
  const char* text;  ///< "major.minor.patch", for example "0.2.0"; static, never freed
  uint32_t number;   ///< major * 10000 + minor * 100 + patch (200 for 0.2.0)
};
/// The version of the loaded runtime, so that a program that loads the library at run time can
/// check what it got (compare with CORVALA_VERSION_TEXT from version.h). Touches no state.
CORVALA_API VersionInfo Version();

}  // namespace corvala

namespace corvala {

// --- Temporary result slots and the scratch area -------------------------------------------

/// A temporary slot is a TextRecord; its length's magnitude is the text's length.
using TempSlot = TextRecord;

// Requests for SelectTempSlot, tested in this order: the current record's text pointer or
// kSlotCurrent, kSlotBack, and anything else (kSlotAdvance). The ring proper is records 1
// to 15.
inline constexpr Word kSlotCurrent = 0;  ///< the current record; the index does not move
inline constexpr Word kSlotBack = static_cast<Word>(-1);  ///< step back
inline constexpr Word kSlotAdvance = 1;  ///< step forward (as does any other request)
/// Selects a temporary slot record and returns it. request: the current record's text
/// pointer or kSlotCurrent (the current record, the index does not move), kSlotBack (step
/// back), anything else (kSlotAdvance: step forward). The ring proper is records 1 to 15.
CORVALA_API TempSlot* SelectTempSlot(Word request);
/// Slot k's SlotOrigin: the element record whose text the slot shows (set by ElementText and
/// TargetVariable). An advance onto the record clears it, so a later result there names no
/// element.
CORVALA_API Word& SlotOrigin(int slot);
/// The current ring index (0 until the ring first moves, then 1 to 15).
CORVALA_API int32_t TempSlotIndex();

/// Where the next temporary text is written; the caller ends its text with a zero byte.
CORVALA_API char* ScratchWritePosition();
/// What CommitScratchText made: the text and the slot that holds it.
struct CommittedText {
  char* text;      ///< the committed text
  TempSlot* slot;  ///< the slot record now holding it
};
/// Makes the text from the write position up to `end` (its terminating zero) the result in
/// the slot chosen by `request`, then moves the write position to the next multiple of 4
/// above `end`, wrapping to the start at byte 480,000.
CORVALA_API CommittedText CommitScratchText(char* end, Word request);
/// A durable, zero-terminated heap copy of the current slot's text. It stays valid until
/// seven more copies have been made.
CORVALA_API char* KeepTempSlotCopy();

}  // namespace corvala

namespace corvala {

// --- Counted heap and the fatal-error path --------------------------------------------------
// (Implemented by the runtime core: heap.cpp, tracked_blocks.cpp, fatal_error.cpp,
// api_failure.cpp.)

inline constexpr int kCvHeapStrings = 100;               ///< capacity of the tracked-block table
inline constexpr uint32_t kHeapZeroMemory = 0x00000008;  ///< CountedAlloc: zero the block

/// A block from the process heap; flags 0 or kHeapZeroMemory. Every call counts in
/// AllocationCount. Never returns null: failure ends the process with ErrorCode 1. The size is
/// pointer-sized: 32 bits on i686, and blocks of 4 GB and more on 64-bit builds.
CORVALA_API void* CountedAlloc(size_t size, uint32_t flags);
/// Releases a block; every call that reaches the heap counts in ReleaseCount. A null block
/// and EmptyText are ignored. A release the heap refuses asks the user in the box
/// "HeapFree error. INT3?": No goes on, Yes stops in an attached debugger (if any) and goes
/// on, Cancel ends the process with ErrorCode 2.
CORVALA_API void CountedFree(void* block);
/// Enters the block in the lowest free entry of the tracked-block table and returns it; a
/// full table ends the process with ErrorCode 8 (the block stays allocated).
CORVALA_API void* TrackBlock(void* block);
/// CountedAlloc, then TrackBlock.
CORVALA_API void* AllocTracked(size_t size, uint32_t flags);
/// ReleaseTrackedBlock's request for every tracked block.
inline constexpr Word kReleaseAllTracked = static_cast<Word>(-1);
/// Releases tracked blocks and clears their entries. block 0: nothing; kReleaseAllTracked:
/// every tracked block; otherwise that block if tracked (an untracked block is left alone).
CORVALA_API void ReleaseTrackedBlock(Word block);
/// The kCvHeapStrings entries of the tracked-block table; 0 is a free entry.
CORVALA_API const Word* TrackedBlockTable();

/// The codes of the fatal-error path, each with its message ("#" is the detail); a run that
/// ends with code c exits with 0 - c.
enum ErrorCode : uint32_t {
  kErrorLastError = 0,           ///< "GetLastError:\r\n#": the system's text for the last error
  kErrorHeapAlloc = 1,           ///< "HeapAlloc": a heap block could not be allocated
  kErrorHeapFree = 2,            ///< "HeapFree\n#": a heap release failed
  kErrorStringTable = 3,         ///< "String table overflow": more slots than the ring holds
  kErrorStoreOpen = 4,           ///< "Could not open\n#\nfor Store"
  kErrorRecallOpen = 5,          ///< "Could not open\n#\nfor Recall, FileRead$ etc."
  kErrorCountTooHigh = 6,        ///< "Line #: Count too high\nor wrong # of dimensions"
  kErrorArrayErased = 7,         ///< "Line #: Array erased or undefined"
  kErrorTooManyStrings = 8,      ///< "Too many strings: increase CvHeapStrings"
  kErrorInsufficientBuffer = 9,  ///< "Insufficient buffer or New$(<=0)"
  kErrorHeapSize = 10,           ///< "HeapSize failed for #": a block's size unreadable
};

/// Ends the process: the code's message, with the detail text in place of its first "#",
/// in the box "Fatal error:"; then every array and tracked block is released and the exit
/// code is 0 minus the code. The detail may be any value: the first 127 characters of a
/// readable text are shown, an unreadable one leaves the "#". File number 10 is closed before
/// the box; a non-zero DebugMarker is appended as " Olly=<n>". A code above 10 reports itself
/// under ErrorCode 0 (and in ReportValue) and exits with 0.
[[noreturn]] CORVALA_API void FatalError(uint32_t code, Word detail);
/// FatalError with ReportValue in decimal as the detail (the "Line #" messages).
[[noreturn]] CORVALA_API void FatalErrorLine(uint32_t code);
/// Stores value in ReportValue, then FatalErrorLine.
[[noreturn]] CORVALA_API void FatalErrorValue(uint32_t code, int32_t value);
/// ErrorCode 0 with the system's text for the last error.
[[noreturn]] CORVALA_API void FatalLastError();
/// For a platform call's result: when it is 0 (failure), shows the last error's text in the
/// box "GetLastError:\r\n#" (OK and Cancel); Cancel silences the boxes for the rest of the
/// run (ApiBoxesOff). Returns either way.
CORVALA_API void ReportApiFailure(Word result);

/// The number of CountedAlloc calls.
extern CORVALA_API int32_t& AllocationCount;
/// The number of CountedFree calls that reached the heap.
extern CORVALA_API int32_t& ReleaseCount;
/// A value for the fatal-error messages (the line of a "Line #" message, a reported code).
extern CORVALA_API int32_t& ReportValue;
/// When non-zero, appended to fatal-error messages as " Olly=<n>".
extern CORVALA_API int32_t& DebugMarker;
/// Non-zero once the user chose Cancel in a ReportApiFailure box: no more such boxes.
extern CORVALA_API int32_t& ApiBoxesOff;

// --- Array and file tables ------------------------------------------------------------------

inline constexpr int kArrayNumbers = 20;                ///< array numbers are 0 to 19
inline constexpr int kFileNumbers = 11;                 ///< file numbers are 0 to 10
inline constexpr Word kErased = static_cast<Word>(-1);  ///< ArrayTable entry of an erased array

/// Two words: the text (0 for an element never assigned) and the signed length; above 0 the
/// element owns a heap block, 0 or below the text lies elsewhere (magnitude = length).
struct ElementRecord {
  const char* text;  ///< the text, or 0 for an element never assigned
  int32_t length;    ///< above 0: owns a heap block; 0 or below: -length bytes elsewhere
};

/// Heads every string array; the element records follow it directly.
struct ArrayDescriptor {
  int32_t count;   ///< -1 while the array is being released
  Word backing;    ///< backing block of texts the elements do not own; bit 0: allocation at -9
  Word userValue;  ///< read back as the pseudo-element -1
  int32_t shape;   ///< 0, rows R > 0, kTabFields, or kCommaFields and below
  /// The element records, which follow the descriptor.
  ElementRecord* elements() { return reinterpret_cast<ElementRecord*>(this + 1); }
};
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(ElementRecord) == 8 && sizeof(ArrayDescriptor) == 16,
              "the shipping layout: 16 bytes of header, 8 per element");
#endif
inline constexpr int32_t kTabFields = -120;    ///< shape of an array of tab-separated fields
inline constexpr int32_t kCommaFields = -121;  ///< shape of comma-separated fields (and below)

/// Entry n: 0 never used, kErased, or the ArrayDescriptor (a record array: its first record).
CORVALA_API Word* ArrayTable();
/// Entry n: 0 free, INVALID_HANDLE_VALUE after a failed open, or an open handle.
CORVALA_API Word* FileTable();
/// The shared empty string; the 32-bit word before it is 0.
extern CORVALA_API const char* const EmptyText;

/// EraseArray's request for every array.
inline constexpr int kEraseAllArrays = -1;
/// Releases string array arrayNumber (0 to 19), or with kEraseAllArrays arrays 0 to 19 in
/// turn: the backing block, every text an element owns, then the descriptor; the entry
/// becomes kErased. Entries that are 0 or kErased are left alone. Any other number ends the
/// run with ErrorCode 6 (the line in ReportValue); nothing is touched.
CORVALA_API void EraseArray(int32_t arrayNumber);
/// CloseFile's request for every file number.
inline constexpr int kCloseAllFiles = 11;
/// Closes file number fileNumber (0 to 10), or with kCloseAllFiles every number from 10
/// down to 0; each non-zero entry goes to CloseHandle and becomes 0. Any other number ends
/// the run with ErrorCode 6 (the line in ReportValue); nothing is touched.
CORVALA_API void CloseFile(int32_t fileNumber);

}  // namespace corvala
