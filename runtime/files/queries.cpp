#include <cstddef>
#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "corvala/files.h"
#include "platform/files.h"
#include "platform/find.h"
#include "runtime/core/state.h"
#include "runtime/core/words.h"
#include "runtime/files/file_numbers.h"
#include "runtime/files/read_to_end.h"
#include "runtime/strings/deferred_text.h"

namespace corvala {
namespace {

using internal::g_state;

// FindData is handed out as the platform's record: the layouts must agree.
#define CORVALA_SAME_FIELD(field) \
  static_assert(offsetof(FindDataRecord, field) == offsetof(WIN32_FIND_DATAA, field))
CORVALA_SAME_FIELD(ftCreationTime);
CORVALA_SAME_FIELD(ftLastAccessTime);
CORVALA_SAME_FIELD(ftLastWriteTime);
CORVALA_SAME_FIELD(nFileSizeHigh);
CORVALA_SAME_FIELD(nFileSizeLow);
CORVALA_SAME_FIELD(cFileName);
CORVALA_SAME_FIELD(cAlternateFileName);
#undef CORVALA_SAME_FIELD
static_assert(sizeof(FindDataRecord) == sizeof(WIN32_FIND_DATAA));

constexpr FileSizeHalves kNoSize = {0xFFFFFFFFu, 0xFFFFFFFFu};

FileSizeHalves Halves(uint32_t low, uint32_t high) { return {low, high}; }

}  // namespace

FindDataRecord& FindData = g_state.files.findData;
Word& FindHandle = g_state.files.findHandle;

Word FindFile(const char* pattern, int32_t closeSearch) {
  FindData.dwFileAttributes = kFileAttributeNormal;
  if (internal::IsSmallName(reinterpret_cast<Word>(pattern))) {
    FindHandle = 0;  // a miss: the platform would read the number as an address
    return 0;
  }
  // Found properties replace FindData; a miss leaves the rest of it as it was.
  WIN32_FIND_DATAA found;
  HANDLE search = platform::FindFirstFileA(pattern, &found);
  Word result = search == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<Word>(search);
  if (result != 0) std::memcpy(&FindData, &found, sizeof FindData);
  FindHandle = result;
  if (result != 0 && closeSearch != 0) {
    platform::FindClose(search);
    FindHandle = 0;
  }
  return result;
}

FileSizeHalves FileSize(TextArg file) {
  if (file.word() <= 10) {
    LARGE_INTEGER size;
    HANDLE handle = reinterpret_cast<HANDLE>(FileTable()[file.word()]);
    if (!platform::GetFileSizeEx(handle, &size)) return kNoSize;
    return Halves(static_cast<uint32_t>(size.QuadPart),
                  static_cast<uint32_t>(static_cast<uint64_t>(size.QuadPart) >> 32));
  }
  // 11 to 127 are neither file numbers nor addresses.
  if (file.IsSmall()) return kNoSize;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!platform::GetFileAttributesExA(file.bytes(), GetFileExInfoStandard, &data)) return kNoSize;
  return Halves(data.nFileSizeLow, data.nFileSizeHigh);
}

namespace {

constexpr int32_t kFileContentsNumber = 10;
// Bytes are reported in 32 bits, with room to spare as Recall keeps it.
constexpr uint64_t kMostHeldBytes = INT32_MAX - 64;

// A file whose size is not known cannot wait for the expansion, which needs the length
// before it copies: its contents are read now and the slot shows them. An empty file on disk
// keeps the deferred piece, so that its expansion opens and closes it as for any other.
const char* HeldContents(const char* name, HANDLE handle) {
  using namespace internal;
  const bool onDisk = platform::GetFileType(handle) == FILE_TYPE_DISK;
  Word owner = 0;
  const LoadedBytes loaded = ReadToEnd(handle, owner, kMostHeldBytes);
  CloseFile(kFileContentsNumber);
  if (!loaded.complete) FatalError(kErrorRecallOpen, reinterpret_cast<Word>(name));
  if (loaded.bytes == 0 && onDisk) {
    ReleaseLoaded(owner);
    return nullptr;
  }
  TempSlot* slot = SelectTempSlot(kSlotAdvance);
  static_assert(sizeof g_state.files.heldContents / sizeof(Word) == kTempSlotCount);
  Word& held = g_state.files.heldContents[TempSlotIndex()];
  ReleaseLoaded(held);
  held = owner;
  slot->text = loaded.data;
  slot->length = static_cast<int32_t>(loaded.bytes);
  return loaded.data;
}

}  // namespace

const char* FileRead$(const char* name) {
  using namespace internal;
  const Word word = reinterpret_cast<Word>(name);
  if (IsSmallName(word)) FatalErrorNumberName(kErrorRecallOpen, word);
  const bool found = FindFile(name, 1) != 0;
  if (!found || (FindData.nFileSizeLow | FindData.nFileSizeHigh) == 0) {
    // A name the search does not see may still open (a device or a pipe on Windows).
    Word entry = OpenInput(kFileContentsNumber, name, 0);
    if (entry != kOpenFailed) {
      const char* contents = HeldContents(name, reinterpret_cast<HANDLE>(entry));
      if (contents != nullptr) return contents;
    } else {
      FileTable()[kFileContentsNumber] = 0;
      if (!found) FatalError(kErrorRecallOpen, reinterpret_cast<Word>(name));
    }
  }
  char* piece = ScratchWritePosition();
  StoreInt32(piece, kDeferredMarker);
  StoreInt32(piece + kDeferredKindAt, kDeferredFileContents);
  StorePointer(piece + kFileNameAt, name);
  uint32_t size = FindData.nFileSizeLow;
  StoreWord32(piece + kFileSizeAt, size);
  // Read as a plain text, the piece ends here.
  piece[kFileContentsSize] = '\0';
  TempSlot* slot = CommitScratchText(piece + kFileContentsSize, kSlotAdvance).slot;
  slot->length = static_cast<int32_t>(size);
  return piece;
}

}  // namespace corvala
