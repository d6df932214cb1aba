/** @file
 * Corvala: the runtime's interface for C, assembly and other languages' foreign calls.
 *
 * Plain C99. Every operation of the C++ interface (corvala.h) is here under the name cv_ and
 * the runtime's name (cv_Recall, cv_ElementText); a final "$", which is no C identifier
 * character, is written Str (cv_FileReadStr for FileRead$, cv_NewStr for New$). Each
 * function is described here in C terms, with the errors that end the run; the C shapes:
 *
 * - Calling convention: cdecl (CV_CALL). On x86-64 each platform has one convention, which
 *   the compiler uses anyway.
 * - A word that is an address or a small number is a cv_word (pointer-sized; 32 bits on
 *   the shipping i686 build). A text argument is a cv_text: any text address, or a small
 *   number made with CV_TEXT_ID (CV_CURRENT_SLOT for the current temporary slot).
 * - Operations with two results return a small struct with named fields.
 * - The result variables (LastFoundPosition, FindData, ...) are reached through functions
 *   that return their address: *cv_LastFoundPosition().
 * - No C++ type or exception crosses this interface. Unrecoverable conditions end the
 *   process through the fatal-error path, as in C++; nothing is thrown.
 * - The library's state is one per process: the C and the C++ interface share it.
 * - For one thread.
 */
#ifndef CORVALA_CORVALA_C_H
#define CORVALA_CORVALA_C_H

#include <stddef.h>
#include <stdint.h>

#include "corvala/export.h"
#include "corvala/version.h"

/** @def CV_CALL
 * The calling convention of every function: cdecl on i686, the platform's one elsewhere.
 */
#if defined(__i386__) && defined(__GNUC__)
#define CV_CALL __attribute__((cdecl))
#elif defined(_M_IX86)
#define CV_CALL __cdecl
#else
#define CV_CALL
#endif

/** @def CV_NORETURN
 * Marks a function that never returns.
 */
/** @def CV_NOEXCEPT
 * noexcept for C++ callers: no exception crosses this interface.
 */
#if defined(__cplusplus)
#define CV_NORETURN [[noreturn]]
#define CV_NOEXCEPT noexcept
#elif defined(__GNUC__)
#define CV_NORETURN __attribute__((noreturn))
#define CV_NOEXCEPT
#else
#define CV_NORETURN
#define CV_NOEXCEPT
#endif

/** Declares an exported function returning `type`. */
#define CV_FUNCTION(type) CORVALA_API type CV_CALL

#ifdef __cplusplus
extern "C" {
#endif

/** A word that is an address or a small number; pointer-sized (32 bits on i686). */
typedef uintptr_t cv_word;
/** A text argument: a text address, or a small number made with CV_TEXT_ID. */
typedef const void* cv_text;

/** The text argument that stands for the small number `n` (a shared-string id, a slot). */
#define CV_TEXT_ID(n) ((cv_text)(uintptr_t)(n))
/** The text argument for the current temporary slot's text (id 127). */
#define CV_CURRENT_SLOT CV_TEXT_ID(127)

/** A text as address and signed length; the magnitude is the length in bytes. */
typedef struct cv_TextRecord {
  const char* text; /**< the first byte of the text */
  int32_t length; /**< the length in bytes; the sign belongs to the owner (see cv_ElementRecord) */
} cv_TextRecord;

/* --- Start-up and shared state ------------------------------------------------------ */

/** The parts of the "Common data" block (cv_CommonData). */
typedef struct cv_CommonDataBlockView {
  const char* tag;        /**< the 16-byte tag */
  const cv_word* entries; /**< the fifteen word entries; entry n at index n - 1 */
  const char* dateFormat; /**< the date format text */
  const char* timeFormat; /**< the time format text */
} cv_CommonDataBlockView;

/**
 * Starts the runtime: checks the processor for SSE2 (without it the box "Sorry, Corvala needs
 * SSE2" and exit code -99), fills shared-string ids 0 to 7 (id 6 is the program's folder with its
 * trailing separator) and the bit-count table. Runs by itself whenever an operation first touches
 * the slot ring; calling it again rewrites the same values.
 */
CV_FUNCTION(void) cv_RuntimeStartup(void) CV_NOEXCEPT;
/**
 * The shared string table: ids 0 to 9, then temporary slot k at id 10 + k. The second word of
 * id 9 is the ring index.
 * @return the table's first record.
 */
CV_FUNCTION(const cv_TextRecord*) cv_SharedStringTable(void) CV_NOEXCEPT;
/**
 * The bit-count table of 256 bytes: entry b is the number of set bits in the byte value b.
 */
CV_FUNCTION(const uint8_t*) cv_BitCountTable(void) CV_NOEXCEPT;
/**
 * The program's folder, zero-terminated, ending with its separator (empty when unknown).
 */
CV_FUNCTION(const char*) cv_ModuleFolder(void) CV_NOEXCEPT;
/**
 * The "Common data" block: a 16-byte tag, fifteen word entries, the date and time formats.
 * Entry 6 is the default number of significant digits, entry 7 the file-error text.
 */
CV_FUNCTION(cv_CommonDataBlockView) cv_CommonData(void) CV_NOEXCEPT;

/**
 * The version of the library that is loaded (not of the headers a program was built with).
 */
typedef struct cv_VersionInfo {
  const char* text; /**< "major.minor.patch", for example "0.2.0"; static, never freed */
  uint32_t number;  /**< major * 10000 + minor * 100 + patch: 200 for 0.2.0 */
} cv_VersionInfo;

/**
 * The version of the loaded library, for a program that loads `corvala.dll` or
 * `libcorvala.so` at run time and checks what it got (compare `number` with the
 * `CORVALA_VERSION_*` macros of version.h). Touches no runtime state and ends no run.
 * @return the version's text and number.
 */
CV_FUNCTION(cv_VersionInfo) cv_Version(void) CV_NOEXCEPT;

/* --- Temporary result slots and the scratch area ------------------------------------ */

/** cv_SelectTempSlot: the current record; the ring index does not move. */
#define CV_SLOT_CURRENT ((cv_word)0)
/** cv_SelectTempSlot: step back. */
#define CV_SLOT_BACK ((cv_word)-1)
/** cv_SelectTempSlot: step forward (as does any other request). */
#define CV_SLOT_ADVANCE ((cv_word)1)

/** What cv_CommitScratchText made: the text and the slot that holds it. */
typedef struct cv_CommittedText {
  char* text;          /**< the committed text */
  cv_TextRecord* slot; /**< the slot record that holds it */
} cv_CommittedText;

/**
 * Selects a temporary slot record.
 * @param request the current record's text address or CV_SLOT_CURRENT (the current record;
 *        the ring index does not move), CV_SLOT_BACK (step back), anything else
 *        (CV_SLOT_ADVANCE: step forward). The ring proper is records 1 to 15.
 * @return the selected record.
 */
CV_FUNCTION(cv_TextRecord*) cv_SelectTempSlot(cv_word request) CV_NOEXCEPT;
/**
 * The origin word of temporary slot `slot`: the address of the element record whose
 * text the slot shows, set by cv_ElementText and cv_TargetVariable. An advance onto the slot
 * clears it.
 * @return the word's address, which the caller may read and write.
 */
CV_FUNCTION(cv_word*) cv_SlotOrigin(int32_t slot) CV_NOEXCEPT;
/**
 * The current ring index: 0 until the ring first moves, then 1 to 15.
 */
CV_FUNCTION(int32_t) cv_TempSlotIndex(void) CV_NOEXCEPT;
/**
 * Where the next temporary text is written in the scratch area; a caller that writes a text
 * there ends it with a zero byte and commits it with cv_CommitScratchText.
 */
CV_FUNCTION(char*) cv_ScratchWritePosition(void) CV_NOEXCEPT;
/**
 * Makes the text from the scratch write position up to `end` (its terminating zero) the result
 * in the slot that `request` selects (as in cv_SelectTempSlot), then moves the write position to
 * the next multiple of 4 above `end`, wrapping to the start at byte 480,000.
 * @return the text and its slot record.
 */
CV_FUNCTION(cv_CommittedText) cv_CommitScratchText(char* end, cv_word request) CV_NOEXCEPT;
/**
 * A durable, zero-terminated heap copy of the current slot's text, valid until seven more copies
 * have been made. Use it for a result that must outlive 15 slot advances.
 */
CV_FUNCTION(char*) cv_KeepTempSlotCopy(void) CV_NOEXCEPT;

/* --- Counted heap and the fatal-error path ------------------------------------------ */

/** The capacity of the tracked-block table. */
#define CV_HEAP_STRINGS 100
/** cv_CountedAlloc flag: a zeroed block. */
#define CV_HEAP_ZERO_MEMORY 0x00000008u
/** cv_ReleaseTrackedBlock: every tracked block. */
#define CV_RELEASE_ALL_TRACKED ((cv_word)-1)

/** Error code 0, "GetLastError:\r\n#": the system's text for the last error (exit code 0). */
#define CV_ERROR_LAST_ERROR 0u
/** Error code 1, "HeapAlloc": a heap block could not be allocated. */
#define CV_ERROR_HEAP_ALLOC 1u
/** Error code 2, "HeapFree\n#": a heap release failed. */
#define CV_ERROR_HEAP_FREE 2u
/** Error code 3, "String table overflow": more slots asked for than the ring holds. */
#define CV_ERROR_STRING_TABLE 3u
/** Error code 4, "Could not open\n#\nfor Store". */
#define CV_ERROR_STORE_OPEN 4u
/** Error code 5, "Could not open\n#\nfor Recall, FileRead$ etc.". */
#define CV_ERROR_RECALL_OPEN 5u
/**
 * Error code 6, "Line #: Count too high\nor wrong # of dimensions": a number, index or count
 * out of range.
 */
#define CV_ERROR_COUNT_TOO_HIGH 6u
/** Error code 7, "Line #: Array erased or undefined". */
#define CV_ERROR_ARRAY_ERASED 7u
/**
 * Error code 8, "Too many strings: increase CvHeapStrings": the tracked-block table is full.
 */
#define CV_ERROR_TOO_MANY_STRINGS 8u
/**
 * Error code 9, "Insufficient buffer or New$(<=0)": a result does not fit the scratch area.
 */
#define CV_ERROR_INSUFFICIENT_BUFFER 9u
/** Error code 10, "HeapSize failed for #". */
#define CV_ERROR_HEAP_SIZE 10u

/**
 * Allocates `size` bytes from the process heap and counts the call in *cv_AllocationCount().
 * @param size the block's size in bytes.
 * @param flags 0, or CV_HEAP_ZERO_MEMORY for a zeroed block.
 * @return the block; never null. A failed allocation ends the run with CV_ERROR_HEAP_ALLOC.
 */
CV_FUNCTION(void*) cv_CountedAlloc(size_t size, uint32_t flags) CV_NOEXCEPT;
/**
 * Releases a block from cv_CountedAlloc and counts the release in *cv_ReleaseCount(). A null
 * block and cv_EmptyText() are ignored. A release the heap refuses asks the user in the box
 * "HeapFree error. INT3?": No goes on, Yes stops in an attached debugger (if any) and goes on,
 * Cancel ends the run with CV_ERROR_HEAP_FREE.
 */
CV_FUNCTION(void) cv_CountedFree(void* block) CV_NOEXCEPT;
/**
 * Enters `block` in the lowest free entry of the tracked-block table (CV_HEAP_STRINGS entries).
 * @return the block. A full table ends the run with CV_ERROR_TOO_MANY_STRINGS (the block stays
 *         allocated).
 */
CV_FUNCTION(void*) cv_TrackBlock(void* block) CV_NOEXCEPT;
/**
 * cv_CountedAlloc, then cv_TrackBlock: a block that cv_ReleaseTrackedBlock releases. Ends the
 * run with CV_ERROR_HEAP_ALLOC or CV_ERROR_TOO_MANY_STRINGS as those do.
 */
CV_FUNCTION(void*) cv_AllocTracked(size_t size, uint32_t flags) CV_NOEXCEPT;
/**
 * Releases tracked blocks and clears their entries.
 * @param block 0: nothing; CV_RELEASE_ALL_TRACKED: every tracked block; otherwise that block
 *        when it is tracked (an untracked block is left alone).
 */
CV_FUNCTION(void) cv_ReleaseTrackedBlock(cv_word block) CV_NOEXCEPT;
/**
 * The CV_HEAP_STRINGS entries of the tracked-block table; 0 is a free entry.
 */
CV_FUNCTION(const cv_word*) cv_TrackedBlockTable(void) CV_NOEXCEPT;

/**
 * Ends the process: the code's message (see the CV_ERROR_ codes), with the detail text in place
 * of its first "#", in the box "Fatal error:"; then every array and tracked block is released
 * and the exit code is 0 minus the code. Never returns.
 * @param code a CV_ERROR_ code; a code above 10 reports itself under code 0 (and in
 *        *cv_ReportValue()) and exits with 0.
 * @param detail any value: the first 127 characters of a readable text are shown, an
 *        unreadable one leaves the "#". File number 10 is closed before the box; a non-zero
 *        *cv_DebugMarker() is appended as " Olly=<n>".
 */
CV_NORETURN CV_FUNCTION(void) cv_FatalError(uint32_t code, cv_word detail) CV_NOEXCEPT;
/**
 * cv_FatalError with *cv_ReportValue() in decimal as the detail (the "Line #" messages).
 */
CV_NORETURN CV_FUNCTION(void) cv_FatalErrorLine(uint32_t code) CV_NOEXCEPT;
/**
 * Stores `value` in *cv_ReportValue(), then cv_FatalErrorLine(code).
 */
CV_NORETURN CV_FUNCTION(void) cv_FatalErrorValue(uint32_t code, int32_t value) CV_NOEXCEPT;
/**
 * cv_FatalError with CV_ERROR_LAST_ERROR and the system's text for the last error.
 */
CV_NORETURN CV_FUNCTION(void) cv_FatalLastError(void) CV_NOEXCEPT;
/**
 * For a platform call's result: when `result` is 0 (failure), shows the last error's text in
 * the box "GetLastError:\r\n#" with OK and Cancel; Cancel silences these boxes for the rest of
 * the run (*cv_ApiBoxesOff()). Returns either way.
 */
CV_FUNCTION(void) cv_ReportApiFailure(cv_word result) CV_NOEXCEPT;

/**
 * The number of cv_CountedAlloc calls so far.
 * @return the counter's address.
 */
CV_FUNCTION(int32_t*) cv_AllocationCount(void) CV_NOEXCEPT;
/**
 * The number of cv_CountedFree calls that reached the heap.
 * @return the counter's address.
 */
CV_FUNCTION(int32_t*) cv_ReleaseCount(void) CV_NOEXCEPT;
/**
 * The value the fatal-error messages report (the line of a "Line #" message).
 * @return its address.
 */
CV_FUNCTION(int32_t*) cv_ReportValue(void) CV_NOEXCEPT;
/**
 * A marker that, when non-zero, is appended to fatal-error messages as " Olly=<n>".
 * @return its address.
 */
CV_FUNCTION(int32_t*) cv_DebugMarker(void) CV_NOEXCEPT;
/**
 * Non-zero once the user chose Cancel in a cv_ReportApiFailure box.
 * @return its address.
 */
CV_FUNCTION(int32_t*) cv_ApiBoxesOff(void) CV_NOEXCEPT;

/* --- Array and file tables ---------------------------------------------------------- */

/** Array numbers are 0 to 19. */
#define CV_ARRAY_NUMBERS 20
/** File numbers are 0 to 10. */
#define CV_FILE_NUMBERS 11
/** The array table entry of an erased array. */
#define CV_ERASED ((cv_word)-1)
/** The shape (and cv_Recall marker) of an array of tab-separated fields. */
#define CV_TAB_FIELDS (-120)
/** The shape (and cv_Recall marker) of comma-separated fields; lower values too. */
#define CV_COMMA_FIELDS (-121)
/** cv_EraseArray: every array. */
#define CV_ERASE_ALL_ARRAYS (-1)
/** cv_CloseFile: every file number. */
#define CV_CLOSE_ALL_FILES 11

/** A string array element: the text and its signed length. */
typedef struct cv_ElementRecord {
  const char* text; /**< the text, or null for an element never assigned */
  int32_t length;   /**< above 0: owns a heap block; 0 or below: -length bytes elsewhere */
} cv_ElementRecord;

/** Heads every string array; the element records follow it directly (CV_ELEMENTS). */
typedef struct cv_ArrayDescriptor {
  int32_t count;     /**< the number of elements; -1 while the array is being released */
  cv_word backing;   /**< the block of texts the elements do not own */
  cv_word userValue; /**< read back as the pseudo-element -1 */
  int32_t shape;     /**< 0, rows R > 0, CV_TAB_FIELDS, or CV_COMMA_FIELDS and below */
} cv_ArrayDescriptor;
/** The element records of the array whose descriptor is `descriptor`. */
#define CV_ELEMENTS(descriptor) ((cv_ElementRecord*)((cv_ArrayDescriptor*)(descriptor) + 1))

/**
 * The array table, CV_ARRAY_NUMBERS entries: entry n is 0 (never used), CV_ERASED, or the
 * address of array n's cv_ArrayDescriptor (a record array: its first record).
 */
CV_FUNCTION(cv_word*) cv_ArrayTable(void) CV_NOEXCEPT;
/**
 * The file table, CV_FILE_NUMBERS entries: entry n is 0 (free), CV_OPEN_FAILED after a failed
 * open, or an open handle.
 */
CV_FUNCTION(cv_word*) cv_FileTable(void) CV_NOEXCEPT;
/**
 * The shared empty text; the 32-bit word before it is 0.
 */
CV_FUNCTION(const char*) cv_EmptyText(void) CV_NOEXCEPT;
/**
 * Releases string array `arrayNumber` (0 to 19), or with CV_ERASE_ALL_ARRAYS arrays 0 to 19 in
 * turn: the backing block, every text an element owns, then the descriptor; the entry becomes
 * CV_ERASED. Entries that are 0 or CV_ERASED are left alone. Any other number ends the run with
 * CV_ERROR_COUNT_TOO_HIGH (the line in *cv_ReportValue()); nothing is touched.
 */
CV_FUNCTION(void) cv_EraseArray(int32_t arrayNumber) CV_NOEXCEPT;
/**
 * Closes file number `fileNumber` (0 to 10), or with CV_CLOSE_ALL_FILES every number from 10
 * down to 0; each non-zero entry is closed and becomes 0. Any other number ends the run with
 * CV_ERROR_COUNT_TOO_HIGH; nothing is touched.
 */
CV_FUNCTION(void) cv_CloseFile(int32_t fileNumber) CV_NOEXCEPT;

/* --- Integer text and tolerant comparison ------------------------------------------- */

/** cv_CompareWithTolerance: first is below second. */
#define CV_BELOW (-1)
/** cv_CompareWithTolerance: equal within the tolerance. */
#define CV_EQUAL 0
/** cv_CompareWithTolerance: first is above second. */
#define CV_ABOVE 1
/** cv_CompareWithTolerance: a NaN outside the tolerance. */
#define CV_UNORDERED 2

/**
 * Writes `value` as signed decimal text with a terminating zero into `buffer`, which holds 12
 * bytes.
 */
CV_FUNCTION(void) cv_IntToDecimal(int32_t value, char* buffer) CV_NOEXCEPT;
/**
 * Compares `first` and `second` as doubles (rounded in the current mode); they are equal when
 * their bit patterns differ only in bytes below `k`. long double is the x87 80-bit format of
 * GCC and Clang on x86 (MinGW included).
 * @return CV_BELOW, CV_EQUAL or CV_ABOVE; CV_UNORDERED for a NaN whose pattern differs from the
 *         other operand at byte k or above (a NaN within the tolerance compares CV_EQUAL).
 */
CV_FUNCTION(int32_t)
cv_CompareWithTolerance(uint32_t k, long double first, long double second) CV_NOEXCEPT;

/* --- Numbers: kinds, the SSE register bank, number to text, text to number ---------- */

/** Number kind: a 32-bit integer (operand: the value; destination: returned as the value). */
#define CV_NUMBER_INT32 0u
/** Number kind: a single (operand: its bits; destination: an address). */
#define CV_NUMBER_SINGLE 1u
/** Number kind: a double, by address. */
#define CV_NUMBER_DOUBLE 2u
/** Number kind: an 80-bit value (10 bytes), by address. */
#define CV_NUMBER_EXTENDED 3u
/** Number kind: an SSE register code, its low half as a double. */
#define CV_NUMBER_SSE_DOUBLE 4u
/** Number kind: an SSE register code, its low half as a signed 64-bit integer. */
#define CV_NUMBER_SSE_INT64 5u
/** Number kind: a signed 64-bit integer, by address. */
#define CV_NUMBER_INT64 6u
/** Number kind: as CV_NUMBER_SSE_INT64. */
#define CV_NUMBER_SSE_INT64_ALT 7u
/** SSE register n is named by CV_SSE_REGISTER_CODE + n. */
#define CV_SSE_REGISTER_CODE 20

/** Operator: the operand becomes the running result. */
#define CV_NUMBER_SET 0u
/** Operator: the operand is added. */
#define CV_NUMBER_ADD 1u
/** Operator: the operand is subtracted. */
#define CV_NUMBER_SUBTRACT 2u
/** Operator: the running result is multiplied by the operand. */
#define CV_NUMBER_MULTIPLY 3u
/** Operator: the running result is divided by the operand. */
#define CV_NUMBER_DIVIDE 4u
/**
 * The 6-bit descriptor of one operand of `kind` with operator `op`; operand k's goes to bits
 * 6(k-1) to 6(k-1)+5 of cv_NumberToText's descriptor.
 */
#define CV_OPERAND_DESCRIPTOR(kind, op) ((((uint32_t)(kind)) << 3) | (uint32_t)(op))
/** cv_NumberToText descriptor bit: operand 1 is negated first. */
#define CV_NEGATE_FIRST_OPERAND (1u << 30)
/** cv_NumberToText descriptor bit: a UTF-16 result. */
#define CV_WIDE_NUMBER_TEXT (1u << 31)

/** cv_NumberToText selector: the floating-point form. */
#define CV_FLOATING_FORM CV_TEXT_ID(0)
/** cv_NumberToText selector: the integer form. */
#define CV_INTEGER_FORM CV_TEXT_ID(1)
/** cv_NumberToText selector: the unsigned integer form. */
#define CV_UNSIGNED_FORM ((cv_text)(intptr_t)-1)

/** cv_TextToNumber value and count when the text holds no number. */
#define CV_NUMBER_UNREADABLE (-127)
/** Added to cv_TextToNumber's count for a binary number. */
#define CV_BINARY_NOTATION 256
/** Added to cv_TextToNumber's count for a hexadecimal number. */
#define CV_HEX_NOTATION 512

/** One 128-bit value of the SSE register bank. */
typedef struct cv_SseRegisterValue {
  uint64_t low;  /**< bits 0 to 63, which the conversions use */
  uint64_t high; /**< bits 64 to 127 */
} cv_SseRegisterValue;

/** The result of cv_TextToNumber. */
typedef struct cv_NumberReading {
  int32_t value; /**< the value for CV_NUMBER_INT32, else 0 */
  int32_t count; /**< the characters used, plus CV_BINARY_NOTATION or CV_HEX_NOTATION */
} cv_NumberReading;

/**
 * Sets register `n` (0 to 7; other numbers are ignored) of the SSE register bank: eight 128-bit
 * values that stand for the SSE registers which operands and destinations name by their codes
 * (CV_SSE_REGISTER_CODE + n). The conversions use only the low halves.
 */
CV_FUNCTION(void) cv_SetSseRegister(int32_t n, cv_SseRegisterValue value) CV_NOEXCEPT;
/**
 * Register `n` (0 to 7) of the SSE register bank; other numbers read as zeros.
 */
CV_FUNCTION(cv_SseRegisterValue) cv_SseRegister(int32_t n) CV_NOEXCEPT;
/**
 * Copies 8 bytes from `source` into the low half of register `n`; the high half stays.
 */
CV_FUNCTION(void) cv_LoadSseLow(int32_t n, const void* source) CV_NOEXCEPT;
/**
 * Copies the low half of register `n` to `destination` (8 bytes).
 */
CV_FUNCTION(void) cv_StoreSseLow(int32_t n, void* destination) CV_NOEXCEPT;

/**
 * Formats one to five operands, combined in order by their operators, as text in the scratch
 * area; the text becomes the newest temporary slot. The floating-point control word is the same
 * on return.
 * @param selector a format text (a "%" placeholder such as "%5f" or "%i"; a text without one is
 *        copied whole with the number after it), CV_FLOATING_FORM, CV_INTEGER_FORM,
 *        CV_UNSIGNED_FORM, or CV_CURRENT_SLOT for the current slot's text as format. Values 2
 *        to 126 act as CV_FLOATING_FORM.
 * @param descriptor operand k's CV_OPERAND_DESCRIPTOR in bits 6(k-1) to 6(k-1)+5, with
 *        CV_NEGATE_FIRST_OPERAND and CV_WIDE_NUMBER_TEXT (a UTF-16 result) as wanted. After
 *        operand 1 there are operands as long as the descriptor's next fields are not all zero.
 * @param count the number of operand slots plus 4 (the runtime's own count).
 * @param slots the operand slots in reverse order, operand 1 last: a 32-bit value
 *        (CV_NUMBER_INT32; a single's bits for CV_NUMBER_SINGLE), an address (double, 80-bit,
 *        int64), or an SSE register code.
 * @param slotCount the number of entries in slots.
 * @return the text's address (UTF-16 with CV_WIDE_NUMBER_TEXT). A NaN result is "^v?".
 */
CV_FUNCTION(char*)
cv_NumberToText(cv_text selector, uint32_t descriptor, int32_t count, const cv_word* slots,
                int32_t slotCount) CV_NOEXCEPT;
/**
 * Reads one number from a zero-terminated 8-bit text: decimal with point, digit-group commas and
 * exponent; hexadecimal with "$", "x" or "0x" before or "h" after; binary with "b" or "y" after;
 * optionally in parentheses and with a leading sign. The floating-point control word is the same
 * on return.
 * @param source the text, or CV_CURRENT_SLOT for the current slot's text.
 * @param destination by kind: unused for CV_NUMBER_INT32; the address to store at for
 *        CV_NUMBER_SINGLE, _DOUBLE, _EXTENDED and _INT64; an SSE register code
 *        (CV_SSE_REGISTER_CODE + n) for CV_NUMBER_SSE_DOUBLE, _SSE_INT64 and _SSE_INT64_ALT.
 * @param kind a CV_NUMBER_ kind. Integer kinds round toward minus infinity (CV_NUMBER_INT32
 *        after adding just under one half), as do stores of single and double values.
 * @return the value (for CV_NUMBER_INT32; else 0) and the count of characters used (leading
 *         blanks, parentheses and suffixes included) plus CV_BINARY_NOTATION or
 *         CV_HEX_NOTATION; both are CV_NUMBER_UNREADABLE when the text holds no number, and
 *         then nothing is stored.
 */
CV_FUNCTION(cv_NumberReading)
cv_TextToNumber(cv_text source, cv_word destination, int32_t kind) CV_NOEXCEPT;
/**
 * Writes `value`'s decimal digits leftwards from `last`; when the write position reaches `point`
 * a "." is written there first. At least one digit is written.
 * @return the position just left of the first character written.
 */
CV_FUNCTION(char*) cv_WriteDecimalDigits(uint64_t value, char* last, char* point) CV_NOEXCEPT;
/**
 * Builds the table of powers of ten now (otherwise it is built on first use).
 */
CV_FUNCTION(void) cv_BuildPowersOfTen(void) CV_NOEXCEPT;
/**
 * The 299 powers of ten: entry i holds 10^(155 - i) in 64-bit-mantissa precision.
 */
CV_FUNCTION(const long double*) cv_PowersOfTen(void) CV_NOEXCEPT;

/* --- Loading a text file into an array ---------------------------------------------- */

/** What cv_Recall loaded. */
typedef struct cv_RecallResult {
  int32_t lines; /**< the number of lines, that is elements */
  intptr_t
      bytes; /**< the number of bytes read: 32 bits on i686; 64-bit builds load 2 GB and more */
} cv_RecallResult;

/**
 * Loads a text file into a string array, one element per line. Lines end at CR LF only; a bare
 * line feed stays in its line and is counted in *cv_BareLineFeedCount(). Data that does not end
 * with CR LF has one more line after the last break. The elements point into one block holding
 * the whole file. The file is closed afterwards and its number freed.
 * @param file a file number (0 to 10) open for input, read from its position, or a file name
 *        (opened on number 9 as given).
 * @param arrayNumber the array, 1 to 19; any other number (0 is Recall's working number) ends
 *        the run with CV_ERROR_COUNT_TOO_HIGH before anything is opened.
 * @param userValue when not 0, the array's user value.
 * @param marker 0, or a field marker for the array: CV_TAB_FIELDS, or CV_COMMA_FIELDS and below.
 *        Not used when lineCount is given.
 * @param lineCount null, or a variable that receives the number of lines.
 * @return the number of lines and of bytes loaded. A file that cannot be opened, a number
 *         holding no open file, or a value from 11 to 127 ends the run with
 *         CV_ERROR_RECALL_OPEN naming it; so does a file an array cannot hold (a line of 2 GB or
 *         more, or more than 2,147,483,645 line breaks), with the reason before the name.
 */
CV_FUNCTION(cv_RecallResult)
cv_Recall(cv_text file, int32_t arrayNumber, cv_word userValue, int32_t marker,
          int32_t* lineCount) CV_NOEXCEPT;
/**
 * Line feeds not preceded by a carriage return in the latest cv_Recall.
 * @return the counter's address.
 */
CV_FUNCTION(int32_t*) cv_BareLineFeedCount(void) CV_NOEXCEPT;

/* --- String primitives and substring search ----------------------------------------- */

/** cv_FindText flag: bit 5 set on both sides of every byte. */
#define CV_FIND_IGNORE_CASE 1u
/** cv_FindText flag: only the pattern's first byte ignores case. */
#define CV_FIND_FIRST_IGNORE_CASE 2u
/** cv_FindText flag: whole words only (bytes above 64 are word bytes). */
#define CV_FIND_WHOLE_WORD 4u
/** cv_FindText flag: the last match before the start. */
#define CV_FIND_REVERSE 64u
/** cv_FindText flag: UTF-16 texts; of the others only CV_FIND_IGNORE_CASE applies. */
#define CV_FIND_WIDE 128u

/** The result of cv_CompareTexts. */
typedef struct cv_TextComparison {
  int32_t difference; /**< a[offset] - b[offset], bytes unsigned (-255 to 255) */
  uint32_t offset;    /**< where the texts first differ or either ends */
} cv_TextComparison;

/** The result of cv_FindText. */
typedef struct cv_FoundText {
  const char* address; /**< the match's first byte (unit), or null */
  int32_t position;    /**< its 1-based position, or 0 */
} cv_FoundText;

/**
 * The number of bytes before the terminating zero. Never reads a page the text does not occupy.
 */
CV_FUNCTION(uint32_t) cv_TextLength(const char* text) CV_NOEXCEPT;
/**
 * The number of 16-bit units before the terminating zero unit.
 */
CV_FUNCTION(uint32_t) cv_WideTextLength(const uint16_t* text) CV_NOEXCEPT;
/**
 * Copies `count` bytes (count >= 0), or cv_TextLength(source) + count + 2 bytes (count < 0: -1
 * is the text with its terminator, -2 without it, each further step one byte less; nothing when
 * that comes to less than 0). The ranges must not overlap.
 * @return destination plus the number of bytes copied.
 */
CV_FUNCTION(char*) cv_CopyBytes(char* destination, const char* source, int32_t count) CV_NOEXCEPT;
/**
 * Compares two zero-terminated texts.
 * @param a the first text.
 * @param b the second text.
 * @param mode 0 compares exactly; any other mode sets bit 5 (32) in every byte of both texts,
 *        so letters match regardless of case.
 * @return the difference a[offset] - b[offset] of the stored bytes, unsigned (-255 to 255),
 *         and the offset where the texts first differ or either ends.
 */
CV_FUNCTION(cv_TextComparison)
cv_CompareTexts(const char* a, const char* b, int32_t mode) CV_NOEXCEPT;
/**
 * Finds `pattern` in `text`. A one-byte pattern is sought exactly whatever the flags; an empty
 * pattern is a miss. The position is also left in *cv_LastFoundPosition().
 * @param start >= 1: begin at that 1-based position (within the text or just behind it); 0:
 *        continue from the last result in the same text; below 0: begin at the start, or with
 *        CV_FIND_REVERSE at the end.
 * @param text the text, or a slot reference 0 to 127 (the current slot's text).
 * @param pattern the pattern, or a slot reference. When text and pattern both are references,
 *        text is the previous slot's text, pattern the current one's, and the ring steps back.
 * @param flags CV_FIND_ flags; other bits are ignored.
 * @return the match's address (null for a miss) and its 1-based position (0 for a miss), in
 *         bytes, or in 16-bit units with CV_FIND_WIDE.
 */
CV_FUNCTION(cv_FoundText)
cv_FindText(int32_t start, cv_text text, cv_text pattern, uint32_t flags) CV_NOEXCEPT;
/**
 * The position of the latest cv_FindText result.
 * @return its address.
 */
CV_FUNCTION(int32_t*) cv_LastFoundPosition(void) CV_NOEXCEPT;

/* --- String arrays, element access and fields, sorting ------------------------------ */

/** Marks a two-index value (bit 31). */
#define CV_TWO_INDEX_BIT 0x80000000u
/** The first index's bits (0 to 22). */
#define CV_FIRST_INDEX_MASK 0x007FFFFFu
/** Where the second index begins (bits 23 to 30). */
#define CV_SECOND_INDEX_SHIFT 23
/** The two-index value of `first` (row, element) and `second` (column, field number). */
#define CV_TWO_INDEX(first, second)                                               \
  (CV_TWO_INDEX_BIT | ((((uint32_t)(second)) & 0xFFu) << CV_SECOND_INDEX_SHIFT) | \
   (((uint32_t)(first)) & CV_FIRST_INDEX_MASK))
/** Non-zero for a two-index value. */
#define CV_IS_TWO_INDEX(value) ((((uint32_t)(value)) & CV_TWO_INDEX_BIT) != 0)
/** The first index of a two-index value. */
#define CV_FIRST_INDEX(value) (((uint32_t)(value)) & CV_FIRST_INDEX_MASK)
/** The second index of a two-index value. */
#define CV_SECOND_INDEX(value) ((((uint32_t)(value)) >> CV_SECOND_INDEX_SHIFT) & 0xFFu)
/** The field buffer's size in bytes, the terminator included. */
#define CV_FIELD_BUFFER_SIZE 3584

/** The array and index of the latest cv_ElementText call. */
typedef struct cv_ElementAccess {
  int32_t arrayNumber; /**< the array number */
  int32_t index;       /**< the linear element index */
} cv_ElementAccess;

/** The element and field of the latest field read that found its field. */
typedef struct cv_FieldAccess {
  cv_ElementRecord* record; /**< the element's record */
  const char* elementText;  /**< the element's text */
  int32_t elementLength;    /**< the element's length */
  const char* fieldStart;   /**< the field's first byte in the element */
  int32_t fieldLength;      /**< the field's length in the element */
} cv_FieldAccess;

/**
 * Creates string array `arrayNumber` (0 to 19) after releasing what it held; every element
 * reads as the empty text.
 * @param arrayNumber the array, 0 to 19.
 * @param n with v = n + 1: bit 31 of v clear gives v elements (indices 0 to n); bit 31 set
 *        gives a two-dimensional array of CV_FIRST_INDEX(v) rows and CV_SECOND_INDEX(v) + 1
 *        columns.
 * @param userValue read back as the pseudo-element -1.
 * @return the array's descriptor. Another array number ends the run with
 *         CV_ERROR_COUNT_TOO_HIGH.
 */
CV_FUNCTION(cv_ArrayDescriptor*)
cv_DimArray(int32_t arrayNumber, int32_t n, cv_word userValue) CV_NOEXCEPT;
/**
 * Exchanges the array table entries `a` and `b`, whatever they hold.
 */
CV_FUNCTION(void) cv_SwapArrays(int32_t a, int32_t b) CV_NOEXCEPT;
/**
 * The array number and linear index of the latest cv_ElementText call, recorded before the
 * index is checked; cv_InsertElements works on it.
 * @return its address.
 */
CV_FUNCTION(cv_ElementAccess*) cv_LastElementAccess(void) CV_NOEXCEPT;
/**
 * At element k of *cv_LastElementAccess(): n > 0 inserts n empty elements before k, n = 0
 * empties element k, n < 0 removes the -n elements from k on (releasing the texts they own). A
 * new count of 0 or below changes nothing. Ends the run with CV_ERROR_COUNT_TOO_HIGH when the
 * array is undefined or k (and k - n when removing) lies outside it, CV_ERROR_ARRAY_ERASED when
 * it was erased, CV_ERROR_HEAP_ALLOC when the array cannot grow (also for a count above
 * 2^31 - 1).
 */
CV_FUNCTION(void) cv_InsertElements(int32_t n) CV_NOEXCEPT;
/**
 * Makes array `arrayNumber` an array of `maxIndex` + 1 fixed-size records: a zeroed, tracked
 * block holding the 32-bit record count, the 32-bit record size, then the records. Whatever the
 * table entry held is overwritten without being released.
 * @return the first record, which the table entry holds.
 */
CV_FUNCTION(void*)
cv_DimRecordArray(int32_t arrayNumber, int32_t recordSize, int32_t maxIndex) CV_NOEXCEPT;
/**
 * In record array `arrayNumber`: `source` >= 0 copies record source over record `destination`;
 * source < 0, with v = -source, writes (v >> 3) records (0: all) from `destination` on to file
 * number v & 7. An index (or a run of records) beyond the last record ends the run with
 * CV_ERROR_COUNT_TOO_HIGH.
 */
CV_FUNCTION(void)
cv_CopyRecord(int32_t source, int32_t destination, int32_t arrayNumber) CV_NOEXCEPT;
/**
 * Reads one element into the next temporary slot, whose origin becomes the element record. An
 * element never assigned reads as cv_EmptyText(), and so does a missing field; a field is copied
 * into cv_FieldBuffer() (cut to CV_FIELD_BUFFER_SIZE - 1 bytes) and described in
 * *cv_LastFieldAccess().
 * @param arrayNumber the array, 0 to 19.
 * @param index a linear index (-1: the user value as text and the shape as length) or, in a
 *        shaped array, a CV_TWO_INDEX value: row and column of a two-dimensional array, element
 *        and field number of an array with a field marker.
 * @return the text and its signed length. Ends the run with CV_ERROR_ARRAY_ERASED for an
 *         undefined or erased array, CV_ERROR_COUNT_TOO_HIGH for an index at or above the count
 *         or below -1.
 */
CV_FUNCTION(cv_TextRecord) cv_ElementText(int32_t arrayNumber, uint32_t index) CV_NOEXCEPT;
/**
 * The field buffer (CV_FIELD_BUFFER_SIZE bytes): every field read leaves its field here, and the
 * next one overwrites it.
 */
CV_FUNCTION(const char*) cv_FieldBuffer(void) CV_NOEXCEPT;
/**
 * The element and field of the latest field read that found its field, as they lie in the
 * element (the field's full length even when its copy was cut).
 * @return its address.
 */
CV_FUNCTION(cv_FieldAccess*) cv_LastFieldAccess(void) CV_NOEXCEPT;
/**
 * Sorts the first `count` elements (0: all) of array `arrayNumber` by their texts ignoring
 * letter case (A to Z read as a to z, bytes unsigned), ascending, or descending for a negative
 * array number. Only the element records move; unassigned elements sort as empty texts. Ends the
 * run with CV_ERROR_ARRAY_ERASED when the array is undefined or erased, CV_ERROR_COUNT_TOO_HIGH
 * when count is negative or above the element count.
 */
CV_FUNCTION(void) cv_SortArray(int32_t arrayNumber, int32_t count) CV_NOEXCEPT;

/* --- Substrings, trimming and case -------------------------------------------------- */

/** cv_TrimText flag: remove leading blanks. */
#define CV_TRIM_LEADING 1u
/** cv_TrimText flag: remove trailing blanks. */
#define CV_TRIM_TRAILING 2u

/**
 * A view into `source` in a temporary slot (no copy, no terminator; the slot holds its length).
 * Positions are 1-based; in order: count 0 or start 0 gives an empty view at the start;
 * start < 0 the last count bytes (the whole text when count < 0 or count > length);
 * start > length an empty view; otherwise count bytes from start on, or the whole rest when
 * count is larger or negative.
 * @param source a text, CV_CURRENT_SLOT (the result replaces the current slot), or a shared
 *        string id below 127.
 * @param count the number of bytes, as above.
 * @param start the 1-based start, as above.
 * @return the view's address.
 */
CV_FUNCTION(const char*) cv_SliceText(cv_text source, int32_t count, int32_t start) CV_NOEXCEPT;
/**
 * A zero-terminated copy of `source` without its leading and/or trailing blanks (bytes 1 to 32
 * and 128 to 255), committed as the next temporary slot.
 * @param source the text; null trims the uncommitted text at the scratch write position.
 * @param flags CV_TRIM_LEADING, CV_TRIM_TRAILING or both.
 * @return the copy's address. A result past the scratch area's limit ends the run with
 *         CV_ERROR_INSUFFICIENT_BUFFER.
 */
CV_FUNCTION(const char*) cv_TrimText(const char* source, uint32_t flags) CV_NOEXCEPT;
/**
 * An upper-case (`upper` non-zero) or lower-case copy of `source` (null: the empty text) by the
 * system's ANSI code page, in a new tracked heap block that is the next temporary slot and
 * stays until cv_ReleaseTrackedBlock.
 * @return the copy's address. Ends the run with CV_ERROR_HEAP_ALLOC or
 *         CV_ERROR_TOO_MANY_STRINGS when the block cannot be had.
 */
CV_FUNCTION(const char*) cv_ConvertCase(const char* source, int32_t upper) CV_NOEXCEPT;

/* --- Deferred texts ----------------------------------------------------------------- */

/** cv_SubstituteText control: the occurrence limit's first bit. */
#define CV_SUBSTITUTE_LIMIT_SHIFT 8

/**
 * Makes a deferred text, in the next slot, that stands for `text` with the occurrences of
 * `sought` replaced by `replacement` (zero-terminated byte texts that must stay unchanged until
 * cv_BuildText has used it). Occurrences do not overlap; an empty sought text leaves the text
 * unchanged.
 * @param text the source text.
 * @param sought the text to replace.
 * @param replacement what replaces it.
 * @param control bits 0 to 7: CV_FIND_IGNORE_CASE, CV_FIND_FIRST_IGNORE_CASE,
 *        CV_FIND_WHOLE_WORD (others are ignored); bits 8 to 15 (CV_SUBSTITUTE_LIMIT_SHIFT): the
 *        most occurrences to replace, 0 for all.
 * @return the finished length. A descriptor past the scratch area's limit, or a length above
 *         2^31 - 1, ends the run with CV_ERROR_INSUFFICIENT_BUFFER.
 */
CV_FUNCTION(int32_t)
cv_SubstituteText(const char* text, const char* sought, const char* replacement,
                  uint32_t control) CV_NOEXCEPT;
/**
 * A deferred text of `n` zero bytes in the next slot (its length is n + 1).
 * @return the descriptor's address. n of 0 or below, or 2^31 - 1, ends the run with
 *         CV_ERROR_INSUFFICIENT_BUFFER.
 */
CV_FUNCTION(const char*) cv_NewStr(int32_t n) CV_NOEXCEPT;
/**
 * Whether `text` (a slot's text) is a deferred text from cv_SubstituteText, cv_NewStr or
 * cv_FileReadStr. Never reads outside the scratch area.
 * @return non-zero for a deferred text.
 */
CV_FUNCTION(int32_t) cv_IsDeferredText(const char* text) CV_NOEXCEPT;
/**
 * Writes the finished text of the deferred text at `descriptor` to `output`, no terminator.
 * A file's contents are read on file number 10; a missing or short file leaves the rest as zero
 * bytes.
 * @param descriptor the deferred text (the slot's text).
 * @param output where the finished text goes.
 * @param capacity the most bytes to write: the magnitude of the slot's length.
 * @return the number of bytes written.
 */
CV_FUNCTION(uint32_t)
cv_ExpandDeferredText(const char* descriptor, char* output, uint32_t capacity) CV_NOEXCEPT;

/* --- File numbers and storing an array ---------------------------------------------- */

/** The result and table entry of a failed open. */
#define CV_OPEN_FAILED ((cv_word)-1)

/** What cv_ReadFromFile read. */
typedef struct cv_FileBytes {
  int32_t count; /**< the number of bytes read */
  char* buffer;  /**< the buffer passed in */
} cv_FileBytes;

/**
 * Opens an existing file for reading on file number `fileNumber` (0 to 10; another number opens
 * nothing). A handle the entry held before stays open but unreachable. A failed open sets the
 * file-error text (cv_CommonData() entry 7).
 * @param fileNumber the file number, 0 to 10.
 * @param name the file's name.
 * @param search 0 opens the name as given; CV_TEXT_ID(1) looks along the platform's search order
 *        (program folder, current folder, PATH); a text is a list of folders to look in.
 * @return the handle, also in the file table, or CV_OPEN_FAILED.
 */
CV_FUNCTION(cv_word) cv_OpenInput(int32_t fileNumber, const char* name, cv_text search) CV_NOEXCEPT;
/**
 * Opens a file for reading and writing on file number `fileNumber` (0 to 10).
 * @param fileNumber the file number, 0 to 10.
 * @param name the file's name.
 * @param mode 'A' or 'a' appends (created when missing), 'U' or 'u' updates from the start
 *        (created when missing, a longer old tail stays), anything else ('O') creates or empties
 *        the file.
 * @return the handle, also in the file table, or CV_OPEN_FAILED.
 */
CV_FUNCTION(cv_word) cv_OpenOutput(int32_t fileNumber, const char* name, int32_t mode) CV_NOEXCEPT;
/**
 * Reads up to `count` bytes into `buffer` from file number `fileNumber`'s position on. A free
 * number or a failed open reads nothing.
 * @return the number of bytes read and the buffer.
 */
CV_FUNCTION(cv_FileBytes)
cv_ReadFromFile(int32_t fileNumber, void* buffer, int32_t count) CV_NOEXCEPT;
/**
 * Sets the creation, access and write times of the open file `handle` (as the file table holds
 * it) to now.
 * @param handle the open file's handle.
 * @param check when not 0, a failure ends the run in the "GetLastError:" box with exit code 0.
 * @return non-zero on success.
 */
CV_FUNCTION(int32_t) cv_TouchFile(cv_word handle, int32_t check) CV_NOEXCEPT;
/**
 * Writes elements 0 to count - 1 of string array `arrayNumber` as lines, each followed by CR LF.
 * The lines are staged in the scratch area, which is reset: earlier temporary texts are gone.
 * @param file a file number (written at its position; it stays open) or a file name (created or
 *        emptied, and closed).
 * @param arrayNumber the array, 0 to 19.
 * @param count the number of elements; negative: all but the empty ones at the end; 0: none.
 * @return the number of lines written. Ends the run with CV_ERROR_STORE_OPEN when the name cannot
 *         be opened, CV_ERROR_ARRAY_ERASED for an undefined or erased array,
 *         CV_ERROR_COUNT_TOO_HIGH for a count above the element count (nothing more written).
 */
CV_FUNCTION(int32_t) cv_Store(cv_text file, int32_t arrayNumber, int32_t count) CV_NOEXCEPT;

/* --- Text builder and output targets ------------------------------------------------ */

/** cv_BuildText to the console: then wait for a key. */
#define CV_BUILD_WAIT_KEY (1u << 5)
/** cv_BuildText: address pieces are UTF-16 texts. */
#define CV_BUILD_WIDE (1u << 10)
/** cv_BuildText target: the buffer of cv_TargetBuffer. */
#define CV_TARGET_BUFFER (0x08u << 8)
/** cv_BuildText target: the text of *cv_OutputWindow(), a byte text. */
#define CV_TARGET_WINDOW (0x10u << 8)
/** cv_BuildText target: the text of *cv_OutputWindow(), UTF-16. */
#define CV_TARGET_WINDOW_WIDE (0x14u << 8)
/** cv_BuildText with CV_BUILD_ASSIGN: a new tracked heap text. */
#define CV_BUILD_TRACKED (1u << 30)
/** cv_BuildText target: the element behind the destination slot. */
#define CV_BUILD_ASSIGN (1u << 31)
/** cv_BuildText target: file number `fileNumber` (0 to 10). */
#define CV_BUILD_TO_FILE(fileNumber) ((((uint32_t)(fileNumber)) + 1u) << 6)

/** The key cv_WaitKey read. */
typedef struct cv_KeyPress {
  int32_t code;     /**< the key's code; for an extended key its second code */
  int32_t extended; /**< 1 for an arrow or function key, else 0 */
} cv_KeyPress;

/**
 * Joins texts in order and delivers the result to a target.
 * @param control the piece count in bits 0 to 4 (1 to 29; 1 to 28 with CV_BUILD_TRACKED) and the
 *        target: CV_BUILD_ASSIGN (the element behind the destination slot; with
 *        CV_BUILD_TRACKED a new tracked heap text, the old one named after the pieces is
 *        released), CV_TARGET_BUFFER, CV_TARGET_WINDOW(_WIDE), CV_BUILD_TO_FILE(n), else the
 *        console (with CV_BUILD_WAIT_KEY: then wait for a key). CV_BUILD_WIDE: address pieces
 *        are UTF-16.
 * @param pieces the pieces: CV_CURRENT_SLOT (n such pieces are the n newest slots, the
 *        leftmost the oldest; a deferred text there is expanded in place), a shared-table id
 *        (CV_TEXT_ID(0) to CV_TEXT_ID(119)), or a zero-terminated text's address. With
 *        CV_BUILD_TRACKED the old block to release follows them.
 * @return the text's address (null when it was built in a temporary block), or with
 *         CV_BUILD_WAIT_KEY the key's code. More CV_CURRENT_SLOT pieces than the ring holds (15,
 *         14 beside a destination slot) end the run with CV_ERROR_STRING_TABLE.
 */
CV_FUNCTION(cv_word) cv_BuildText(uint32_t control, const cv_text* pieces) CV_NOEXCEPT;
/**
 * Makes the destination slot of a CV_TARGET_BUFFER build: `buffer` and its `capacity`.
 */
CV_FUNCTION(void) cv_TargetBuffer(char* buffer, uint32_t capacity) CV_NOEXCEPT;
/**
 * Makes the destination slot of a CV_BUILD_ASSIGN build for a caller's own text variable, a
 * record like an array element (a positive length: it owns a cv_CountedAlloc block, which the
 * assignment replaces and frees).
 */
CV_FUNCTION(void) cv_TargetVariable(cv_ElementRecord* variable) CV_NOEXCEPT;
/**
 * The window whose text a CV_TARGET_WINDOW build sets.
 * @return its address.
 */
CV_FUNCTION(cv_word*) cv_OutputWindow(void) CV_NOEXCEPT;
/**
 * While non-zero, shorter address pieces of output builds count this long and the file target
 * writes exactly this many bytes (for data with zero bytes); the file target resets it to 0.
 * @return its address.
 */
CV_FUNCTION(int32_t*) cv_WriteByteCount(void) CV_NOEXCEPT;
/**
 * Writes a zero-terminated byte text to standard output.
 * @return the bytes written (0 without a console).
 */
CV_FUNCTION(uint32_t) cv_ConsoleWrite(const char* text) CV_NOEXCEPT;
/**
 * Discards pending console input and waits for one key.
 * @return the key's code (an extended key's second code) and 1 for an extended key (arrow,
 *         function key), else 0.
 */
CV_FUNCTION(cv_KeyPress) cv_WaitKey(void) CV_NOEXCEPT;

/* --- File comparison, command line and resource strings ----------------------------- */

/** The result of cv_FileCompare. */
typedef struct cv_FileDifference {
  int32_t difference; /**< first file's byte - second file's byte at the first difference, or 0 */
  uint32_t position;  /**< identical: the size; else the offset of the first difference */
} cv_FileDifference;

/**
 * Compares two files byte by byte, on file numbers 9 and 10 (both free afterwards).
 * @param name1 the first file's name.
 * @param name2 the second file's name.
 * @param mode 1 ignores letter case (every byte is compared with bit 0x20 set).
 * @return the difference of the first differing bytes (first - second; 0 for identical files)
 *         and its offset (identical: the size). Files of different sizes give the difference
 *         found, never 0, at the first file's size. A file that cannot be opened ends the run
 *         with CV_ERROR_RECALL_OPEN naming it.
 */
CV_FUNCTION(cv_FileDifference)
cv_FileCompare(const char* name1, const char* name2, int32_t mode) CV_NOEXCEPT;
/**
 * Argument `index` of the command line (0: the program) in a new temporary slot. Blanks and
 * control characters separate arguments; one beginning with ! " # $ % & or ' runs to the next
 * of that character, which is dropped.
 * @return the argument's text, or null when there is none or its quote is not closed (the slot
 *         then reads "?").
 */
CV_FUNCTION(const char*) cv_CommandLineArg(int32_t index) CV_NOEXCEPT;
/**
 * String resource `id` of the program's own module in a new temporary slot: a byte text for an
 * id of 0 or more, the UTF-16 text of resource -id for a negative id.
 * @return the text's address (UTF-16 for a negative id); a missing string shows the system's
 *         message (cv_ReportApiFailure) and gives the empty text.
 */
CV_FUNCTION(const char*) cv_ResourceString(int32_t id) CV_NOEXCEPT;

/** A string resource of the calling program: its id and its UTF-8 text. */
typedef struct cv_StringResource {
  uint32_t id;      /**< the id cv_ResourceString asks for */
  const char* text; /**< the zero-terminated UTF-8 text; empty reads as missing */
} cv_StringResource;

/**
 * Gives cv_ResourceString the program's string table on POSIX, where programs carry no
 * resources: `corvala_add_string_table(target file.rc)` of the CMake package generates this
 * call from the program's .rc file, to run before main. Ends no run.
 * @param entries the table; it must stay valid for the rest of the run. A later entry of an id
 *        replaces an earlier one, and an empty text reads as missing.
 * @param count the number of entries.
 * On Windows the program's own compiled resources are read and the call does nothing.
 */
CV_FUNCTION(void)
cv_RegisterStringTable(const cv_StringResource* entries, int32_t count) CV_NOEXCEPT;

/* --- File queries and file contents as text ----------------------------------------- */

/** The attributes of a plain file; cv_FindData's after a failed search. */
#define CV_FILE_ATTRIBUTE_NORMAL 0x80u

/** A file time: 100 ns units since 1601 (UTC) in two halves. */
typedef struct cv_FindFileTime {
  uint32_t dwLowDateTime;  /**< the time's low 32 bits (100 ns units since 1601, UTC) */
  uint32_t dwHighDateTime; /**< the time's high 32 bits */
} cv_FindFileTime;

/** A found file's properties, laid out as the platform's find-data record. */
typedef struct cv_FindDataRecord {
  uint32_t dwFileAttributes;        /**< the platform's attribute bits */
  cv_FindFileTime ftCreationTime;   /**< when the file was created */
  cv_FindFileTime ftLastAccessTime; /**< when it was last read */
  cv_FindFileTime ftLastWriteTime;  /**< when it was last written */
  uint32_t nFileSizeHigh;           /**< the size's high 32 bits */
  uint32_t nFileSizeLow;            /**< the size's low 32 bits */
  uint32_t dwReserved0;             /**< reserved */
  uint32_t dwReserved1;             /**< reserved */
  char cFileName[260];              /**< the name, zero-terminated */
  char cAlternateFileName[14];      /**< the short name, zero-terminated (may be empty) */
} cv_FindDataRecord;

/** A file's size in two 32-bit halves. */
typedef struct cv_FileSizeHalves {
  uint32_t low;  /**< the low 32 bits */
  uint32_t high; /**< the high 32 bits */
} cv_FileSizeHalves;

/**
 * Looks for the first file that matches `pattern` (wildcards * and ? in its last component)
 * and leaves its properties in *cv_FindData(). A search that finds nothing leaves them as they
 * were but for the attributes, which read CV_FILE_ATTRIBUTE_NORMAL.
 * @param pattern a file name, possibly with wildcards in its last component.
 * @param closeSearch non-zero closes a found search at once and returns only a non-zero flag.
 * @return the search handle (also in *cv_FindHandle()), or 0 when nothing matches.
 */
CV_FUNCTION(cv_word) cv_FindFile(const char* pattern, int32_t closeSearch) CV_NOEXCEPT;
/**
 * The properties of the file cv_FindFile found last.
 * @return their address.
 */
CV_FUNCTION(cv_FindDataRecord*) cv_FindData(void) CV_NOEXCEPT;
/**
 * The open search handle of the latest cv_FindFile, or 0.
 * @return its address.
 */
CV_FUNCTION(cv_word*) cv_FindHandle(void) CV_NOEXCEPT;
/**
 * The size of file number 0 to 10, or of the file `file` names. A free or failed number, a
 * missing file, or a value from 11 to 127 gives 0xFFFFFFFF in both halves.
 */
CV_FUNCTION(cv_FileSizeHalves) cv_FileSize(cv_text file) CV_NOEXCEPT;
/**
 * A deferred text for cv_BuildText that stands for the whole contents of the file `name` (the
 * name must stay valid until it is used); the newest slot holds the file's size as its length.
 * @return the text's address. A missing file ends the run with CV_ERROR_RECALL_OPEN naming it.
 */
CV_FUNCTION(const char*) cv_FileReadStr(const char* name) CV_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
