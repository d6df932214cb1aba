/* Corvala: the runtime's interface for C, assembly and other languages' foreign calls.
 *
 * Plain C99. Every operation of the C++ interface (corvala.h) is here under the name cv_ and
 * the runtime's name (cv_Recall, cv_ElementText); a final "$", which is no C identifier
 * character, is written Str (cv_FileReadStr for FileRead$, cv_NewStr for New$). Each
 * operation's contract is the one its C++ form states; this header gives the C shapes:
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

#if defined(__i386__) && defined(__GNUC__)
#define CV_CALL __attribute__((cdecl))
#elif defined(_M_IX86)
#define CV_CALL __cdecl
#else
#define CV_CALL
#endif

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

#define CV_FUNCTION(type) CORVALA_API type CV_CALL

#ifdef __cplusplus
extern "C" {
#endif

typedef uintptr_t cv_word;
typedef const void* cv_text;

#define CV_TEXT_ID(n) ((cv_text)(uintptr_t)(n))
#define CV_CURRENT_SLOT CV_TEXT_ID(127)

/* A text as pointer and signed length; the magnitude is the length in bytes. */
typedef struct cv_TextRecord {
  const char* text;
  int32_t length;
} cv_TextRecord;

/* --- Start-up and shared state ------------------------------------------------------ */

typedef struct cv_CommonDataBlockView {
  const char* tag;
  const cv_word* entries; /* entry n at index n - 1 */
  const char* dateFormat;
  const char* timeFormat;
} cv_CommonDataBlockView;

CV_FUNCTION(void) cv_RuntimeStartup(void) CV_NOEXCEPT;
CV_FUNCTION(const cv_TextRecord*) cv_SharedStringTable(void) CV_NOEXCEPT;
CV_FUNCTION(const uint8_t*) cv_BitCountTable(void) CV_NOEXCEPT;
CV_FUNCTION(const char*) cv_ModuleFolder(void) CV_NOEXCEPT;
CV_FUNCTION(cv_CommonDataBlockView) cv_CommonData(void) CV_NOEXCEPT;

/* --- Temporary result slots and the scratch area ------------------------------------ */

#define CV_SLOT_CURRENT ((cv_word)0)
#define CV_SLOT_BACK ((cv_word)-1)
#define CV_SLOT_ADVANCE ((cv_word)1)

typedef struct cv_CommittedText {
  char* text;
  cv_TextRecord* slot;
} cv_CommittedText;

CV_FUNCTION(cv_TextRecord*) cv_SelectTempSlot(cv_word request) CV_NOEXCEPT;
CV_FUNCTION(cv_word*) cv_SlotOrigin(int32_t slot) CV_NOEXCEPT;
CV_FUNCTION(int32_t) cv_TempSlotIndex(void) CV_NOEXCEPT;
CV_FUNCTION(char*) cv_ScratchWritePosition(void) CV_NOEXCEPT;
CV_FUNCTION(cv_CommittedText) cv_CommitScratchText(char* end, cv_word request) CV_NOEXCEPT;
CV_FUNCTION(char*) cv_KeepTempSlotCopy(void) CV_NOEXCEPT;

/* --- Counted heap and the fatal-error path ------------------------------------------ */

#define CV_HEAP_STRINGS 100
#define CV_HEAP_ZERO_MEMORY 0x00000008u
#define CV_RELEASE_ALL_TRACKED ((cv_word)-1)

#define CV_ERROR_LAST_ERROR 0u
#define CV_ERROR_HEAP_ALLOC 1u
#define CV_ERROR_HEAP_FREE 2u
#define CV_ERROR_STRING_TABLE 3u
#define CV_ERROR_STORE_OPEN 4u
#define CV_ERROR_RECALL_OPEN 5u
#define CV_ERROR_COUNT_TOO_HIGH 6u
#define CV_ERROR_ARRAY_ERASED 7u
#define CV_ERROR_TOO_MANY_STRINGS 8u
#define CV_ERROR_INSUFFICIENT_BUFFER 9u
#define CV_ERROR_HEAP_SIZE 10u

CV_FUNCTION(void*) cv_CountedAlloc(size_t size, uint32_t flags) CV_NOEXCEPT;
CV_FUNCTION(void) cv_CountedFree(void* block) CV_NOEXCEPT;
CV_FUNCTION(void*) cv_TrackBlock(void* block) CV_NOEXCEPT;
CV_FUNCTION(void*) cv_AllocTracked(size_t size, uint32_t flags) CV_NOEXCEPT;
CV_FUNCTION(void) cv_ReleaseTrackedBlock(cv_word block) CV_NOEXCEPT;
CV_FUNCTION(const cv_word*) cv_TrackedBlockTable(void) CV_NOEXCEPT;

CV_NORETURN CV_FUNCTION(void) cv_FatalError(uint32_t code, cv_word detail) CV_NOEXCEPT;
CV_NORETURN CV_FUNCTION(void) cv_FatalErrorLine(uint32_t code) CV_NOEXCEPT;
CV_NORETURN CV_FUNCTION(void) cv_FatalErrorValue(uint32_t code, int32_t value) CV_NOEXCEPT;
CV_NORETURN CV_FUNCTION(void) cv_FatalLastError(void) CV_NOEXCEPT;
CV_FUNCTION(void) cv_ReportApiFailure(cv_word result) CV_NOEXCEPT;

CV_FUNCTION(int32_t*) cv_AllocationCount(void) CV_NOEXCEPT;
CV_FUNCTION(int32_t*) cv_ReleaseCount(void) CV_NOEXCEPT;
CV_FUNCTION(int32_t*) cv_ReportValue(void) CV_NOEXCEPT;
CV_FUNCTION(int32_t*) cv_DebugMarker(void) CV_NOEXCEPT;
CV_FUNCTION(int32_t*) cv_ApiBoxesOff(void) CV_NOEXCEPT;

/* --- Array and file tables ---------------------------------------------------------- */

#define CV_ARRAY_NUMBERS 20
#define CV_FILE_NUMBERS 11
#define CV_ERASED ((cv_word)-1)
#define CV_TAB_FIELDS (-120)
#define CV_COMMA_FIELDS (-121)
#define CV_ERASE_ALL_ARRAYS (-1)
#define CV_CLOSE_ALL_FILES 11

typedef struct cv_ElementRecord {
  const char* text;
  int32_t length;
} cv_ElementRecord;

/* Heads every string array; the element records follow it directly (CV_ELEMENTS). */
typedef struct cv_ArrayDescriptor {
  int32_t count;
  cv_word backing;
  cv_word userValue;
  int32_t shape;
} cv_ArrayDescriptor;
#define CV_ELEMENTS(descriptor) ((cv_ElementRecord*)((cv_ArrayDescriptor*)(descriptor) + 1))

CV_FUNCTION(cv_word*) cv_ArrayTable(void) CV_NOEXCEPT;
CV_FUNCTION(cv_word*) cv_FileTable(void) CV_NOEXCEPT;
CV_FUNCTION(const char*) cv_EmptyText(void) CV_NOEXCEPT;
CV_FUNCTION(void) cv_EraseArray(int32_t arrayNumber) CV_NOEXCEPT;
CV_FUNCTION(void) cv_CloseFile(int32_t fileNumber) CV_NOEXCEPT;

/* --- Integer text and tolerant comparison ------------------------------------------- */

#define CV_BELOW (-1)
#define CV_EQUAL 0
#define CV_ABOVE 1
#define CV_UNORDERED 2

CV_FUNCTION(void) cv_IntToDecimal(int32_t value, char* buffer) CV_NOEXCEPT;
/* long double is the x87 80-bit format of GCC and Clang on x86 (MinGW included). */
CV_FUNCTION(int32_t)
cv_CompareWithTolerance(uint32_t k, long double first, long double second) CV_NOEXCEPT;

/* --- Numbers: kinds, the SSE register bank, number to text, text to number ---------- */

#define CV_NUMBER_INT32 0u
#define CV_NUMBER_SINGLE 1u
#define CV_NUMBER_DOUBLE 2u
#define CV_NUMBER_EXTENDED 3u
#define CV_NUMBER_SSE_DOUBLE 4u
#define CV_NUMBER_SSE_INT64 5u
#define CV_NUMBER_INT64 6u
#define CV_NUMBER_SSE_INT64_ALT 7u
#define CV_SSE_REGISTER_CODE 20

#define CV_NUMBER_SET 0u
#define CV_NUMBER_ADD 1u
#define CV_NUMBER_SUBTRACT 2u
#define CV_NUMBER_MULTIPLY 3u
#define CV_NUMBER_DIVIDE 4u
/* The 6-bit descriptor of one operand; operand k's goes to bits 6(k-1) to 6(k-1)+5. */
#define CV_OPERAND_DESCRIPTOR(kind, op) ((((uint32_t)(kind)) << 3) | (uint32_t)(op))
#define CV_NEGATE_FIRST_OPERAND (1u << 30)
#define CV_WIDE_NUMBER_TEXT (1u << 31)

#define CV_FLOATING_FORM CV_TEXT_ID(0)
#define CV_INTEGER_FORM CV_TEXT_ID(1)
#define CV_UNSIGNED_FORM ((cv_text)(intptr_t)-1)

#define CV_NUMBER_UNREADABLE (-127)
#define CV_BINARY_NOTATION 256
#define CV_HEX_NOTATION 512

typedef struct cv_SseRegisterValue {
  uint64_t low;
  uint64_t high;
} cv_SseRegisterValue;

typedef struct cv_NumberReading {
  int32_t value;
  int32_t count;
} cv_NumberReading;

CV_FUNCTION(void) cv_SetSseRegister(int32_t n, cv_SseRegisterValue value) CV_NOEXCEPT;
CV_FUNCTION(cv_SseRegisterValue) cv_SseRegister(int32_t n) CV_NOEXCEPT;
CV_FUNCTION(void) cv_LoadSseLow(int32_t n, const void* source) CV_NOEXCEPT;
CV_FUNCTION(void) cv_StoreSseLow(int32_t n, void* destination) CV_NOEXCEPT;

/* The runtime's argument order: the format selector, the descriptor word, count (the
   number of operand slots plus 4), then the slotCount operand slots in reverse order,
   operand 1 last. A slot is a 32-bit value (a single's bits for CV_NUMBER_SINGLE) or an
   address. */
CV_FUNCTION(char*)
cv_NumberToText(cv_text selector, uint32_t descriptor, int32_t count, const cv_word* slots,
                int32_t slotCount) CV_NOEXCEPT;
CV_FUNCTION(cv_NumberReading)
cv_TextToNumber(cv_text source, cv_word destination, int32_t kind) CV_NOEXCEPT;
CV_FUNCTION(char*) cv_WriteDecimalDigits(uint64_t value, char* last, char* point) CV_NOEXCEPT;
CV_FUNCTION(void) cv_BuildPowersOfTen(void) CV_NOEXCEPT;
CV_FUNCTION(const long double*) cv_PowersOfTen(void) CV_NOEXCEPT;

/* --- Loading a text file into an array ---------------------------------------------- */

typedef struct cv_RecallResult {
  int32_t lines;
  intptr_t bytes; /* 32 bits on i686; a 64-bit build loads files of 2 GB and more */
} cv_RecallResult;

/* Recall's last argument is either a field marker (0, CV_TAB_FIELDS, CV_COMMA_FIELDS and
   below) or a variable for the number of lines: lineCount, when not null, is that variable
   and the marker is not used. */
CV_FUNCTION(cv_RecallResult)
cv_Recall(cv_text file, int32_t arrayNumber, cv_word userValue, int32_t marker,
          int32_t* lineCount) CV_NOEXCEPT;
CV_FUNCTION(int32_t*) cv_BareLineFeedCount(void) CV_NOEXCEPT;

/* --- String primitives and substring search ----------------------------------------- */

#define CV_FIND_IGNORE_CASE 1u
#define CV_FIND_FIRST_IGNORE_CASE 2u
#define CV_FIND_WHOLE_WORD 4u
#define CV_FIND_REVERSE 64u
#define CV_FIND_WIDE 128u

typedef struct cv_TextComparison {
  int32_t difference;
  uint32_t offset;
} cv_TextComparison;

typedef struct cv_FoundText {
  const char* address;
  int32_t position;
} cv_FoundText;

CV_FUNCTION(uint32_t) cv_TextLength(const char* text) CV_NOEXCEPT;
CV_FUNCTION(uint32_t) cv_WideTextLength(const uint16_t* text) CV_NOEXCEPT;
CV_FUNCTION(char*) cv_CopyBytes(char* destination, const char* source, int32_t count) CV_NOEXCEPT;
CV_FUNCTION(cv_TextComparison)
cv_CompareTexts(const char* a, const char* b, int32_t mode) CV_NOEXCEPT;
CV_FUNCTION(cv_FoundText)
cv_FindText(int32_t start, cv_text text, cv_text pattern, uint32_t flags) CV_NOEXCEPT;
CV_FUNCTION(int32_t*) cv_LastFoundPosition(void) CV_NOEXCEPT;

/* --- String arrays, element access and fields, sorting ------------------------------ */

#define CV_TWO_INDEX_BIT 0x80000000u
#define CV_FIRST_INDEX_MASK 0x007FFFFFu
#define CV_SECOND_INDEX_SHIFT 23
#define CV_TWO_INDEX(first, second)                                               \
  (CV_TWO_INDEX_BIT | ((((uint32_t)(second)) & 0xFFu) << CV_SECOND_INDEX_SHIFT) | \
   (((uint32_t)(first)) & CV_FIRST_INDEX_MASK))
#define CV_IS_TWO_INDEX(value) ((((uint32_t)(value)) & CV_TWO_INDEX_BIT) != 0)
#define CV_FIRST_INDEX(value) (((uint32_t)(value)) & CV_FIRST_INDEX_MASK)
#define CV_SECOND_INDEX(value) ((((uint32_t)(value)) >> CV_SECOND_INDEX_SHIFT) & 0xFFu)
#define CV_FIELD_BUFFER_SIZE 3584

typedef struct cv_ElementAccess {
  int32_t arrayNumber;
  int32_t index;
} cv_ElementAccess;

typedef struct cv_FieldAccess {
  cv_ElementRecord* record;
  const char* elementText;
  int32_t elementLength;
  const char* fieldStart;
  int32_t fieldLength;
} cv_FieldAccess;

CV_FUNCTION(cv_ArrayDescriptor*)
cv_DimArray(int32_t arrayNumber, int32_t n, cv_word userValue) CV_NOEXCEPT;
CV_FUNCTION(void) cv_SwapArrays(int32_t a, int32_t b) CV_NOEXCEPT;
CV_FUNCTION(cv_ElementAccess*) cv_LastElementAccess(void) CV_NOEXCEPT;
CV_FUNCTION(void) cv_InsertElements(int32_t n) CV_NOEXCEPT;
CV_FUNCTION(void*)
cv_DimRecordArray(int32_t arrayNumber, int32_t recordSize, int32_t maxIndex) CV_NOEXCEPT;
CV_FUNCTION(void)
cv_CopyRecord(int32_t source, int32_t destination, int32_t arrayNumber) CV_NOEXCEPT;
CV_FUNCTION(cv_TextRecord) cv_ElementText(int32_t arrayNumber, uint32_t index) CV_NOEXCEPT;
CV_FUNCTION(const char*) cv_FieldBuffer(void) CV_NOEXCEPT;
CV_FUNCTION(cv_FieldAccess*) cv_LastFieldAccess(void) CV_NOEXCEPT;
CV_FUNCTION(void) cv_SortArray(int32_t arrayNumber, int32_t count) CV_NOEXCEPT;

/* --- Substrings, trimming and case -------------------------------------------------- */

#define CV_TRIM_LEADING 1u
#define CV_TRIM_TRAILING 2u

CV_FUNCTION(const char*) cv_SliceText(cv_text source, int32_t count, int32_t start) CV_NOEXCEPT;
CV_FUNCTION(const char*) cv_TrimText(const char* source, uint32_t flags) CV_NOEXCEPT;
CV_FUNCTION(const char*) cv_ConvertCase(const char* source, int32_t upper) CV_NOEXCEPT;

/* --- Deferred texts ----------------------------------------------------------------- */

#define CV_SUBSTITUTE_LIMIT_SHIFT 8

CV_FUNCTION(int32_t)
cv_SubstituteText(const char* text, const char* sought, const char* replacement,
                  uint32_t control) CV_NOEXCEPT;
CV_FUNCTION(const char*) cv_NewStr(int32_t n) CV_NOEXCEPT;
/* Non-zero for a deferred text. */
CV_FUNCTION(int32_t) cv_IsDeferredText(const char* text) CV_NOEXCEPT;
CV_FUNCTION(uint32_t)
cv_ExpandDeferredText(const char* descriptor, char* output, uint32_t capacity) CV_NOEXCEPT;

/* --- File numbers and storing an array ---------------------------------------------- */

#define CV_OPEN_FAILED ((cv_word)-1)

typedef struct cv_FileBytes {
  int32_t count;
  char* buffer;
} cv_FileBytes;

CV_FUNCTION(cv_word) cv_OpenInput(int32_t fileNumber, const char* name, cv_text search) CV_NOEXCEPT;
CV_FUNCTION(cv_word) cv_OpenOutput(int32_t fileNumber, const char* name, int32_t mode) CV_NOEXCEPT;
CV_FUNCTION(cv_FileBytes)
cv_ReadFromFile(int32_t fileNumber, void* buffer, int32_t count) CV_NOEXCEPT;
CV_FUNCTION(int32_t) cv_TouchFile(cv_word handle, int32_t check) CV_NOEXCEPT;
CV_FUNCTION(int32_t) cv_Store(cv_text file, int32_t arrayNumber, int32_t count) CV_NOEXCEPT;

/* --- Text builder and output targets ------------------------------------------------ */

/* TextControl: bits 0 to 4 hold the piece count. */
#define CV_BUILD_WAIT_KEY (1u << 5)
#define CV_BUILD_WIDE (1u << 10)
#define CV_TARGET_BUFFER (0x08u << 8)
#define CV_TARGET_WINDOW (0x10u << 8)
#define CV_TARGET_WINDOW_WIDE (0x14u << 8)
#define CV_BUILD_TRACKED (1u << 30)
#define CV_BUILD_ASSIGN (1u << 31)
#define CV_BUILD_TO_FILE(fileNumber) ((((uint32_t)(fileNumber)) + 1u) << 6)

typedef struct cv_KeyPress {
  int32_t code;
  int32_t extended;
} cv_KeyPress;

/* pieces holds the control word's piece count of texts and, with CV_BUILD_TRACKED, the old
   block after them. */
CV_FUNCTION(cv_word) cv_BuildText(uint32_t control, const cv_text* pieces) CV_NOEXCEPT;
CV_FUNCTION(void) cv_TargetBuffer(char* buffer, uint32_t capacity) CV_NOEXCEPT;
CV_FUNCTION(void) cv_TargetVariable(cv_ElementRecord* variable) CV_NOEXCEPT;
CV_FUNCTION(cv_word*) cv_OutputWindow(void) CV_NOEXCEPT;
CV_FUNCTION(int32_t*) cv_WriteByteCount(void) CV_NOEXCEPT;
CV_FUNCTION(uint32_t) cv_ConsoleWrite(const char* text) CV_NOEXCEPT;
CV_FUNCTION(cv_KeyPress) cv_WaitKey(void) CV_NOEXCEPT;

/* --- File comparison, command line and resource strings ----------------------------- */

typedef struct cv_FileDifference {
  int32_t difference;
  uint32_t position;
} cv_FileDifference;

CV_FUNCTION(cv_FileDifference)
cv_FileCompare(const char* name1, const char* name2, int32_t mode) CV_NOEXCEPT;
CV_FUNCTION(const char*) cv_CommandLineArg(int32_t index) CV_NOEXCEPT;
CV_FUNCTION(const char*) cv_ResourceString(int32_t id) CV_NOEXCEPT;

/* --- File queries and file contents as text ----------------------------------------- */

#define CV_FILE_ATTRIBUTE_NORMAL 0x80u

typedef struct cv_FindFileTime {
  uint32_t dwLowDateTime;
  uint32_t dwHighDateTime;
} cv_FindFileTime;

typedef struct cv_FindDataRecord {
  uint32_t dwFileAttributes;
  cv_FindFileTime ftCreationTime;
  cv_FindFileTime ftLastAccessTime;
  cv_FindFileTime ftLastWriteTime;
  uint32_t nFileSizeHigh;
  uint32_t nFileSizeLow;
  uint32_t dwReserved0;
  uint32_t dwReserved1;
  char cFileName[260];
  char cAlternateFileName[14];
} cv_FindDataRecord;

typedef struct cv_FileSizeHalves {
  uint32_t low;
  uint32_t high;
} cv_FileSizeHalves;

CV_FUNCTION(cv_word) cv_FindFile(const char* pattern, int32_t closeSearch) CV_NOEXCEPT;
CV_FUNCTION(cv_FindDataRecord*) cv_FindData(void) CV_NOEXCEPT;
CV_FUNCTION(cv_word*) cv_FindHandle(void) CV_NOEXCEPT;
CV_FUNCTION(cv_FileSizeHalves) cv_FileSize(cv_text file) CV_NOEXCEPT;
CV_FUNCTION(const char*) cv_FileReadStr(const char* name) CV_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
