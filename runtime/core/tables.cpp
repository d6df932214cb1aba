#include <cstdint>

#include "corvala/core.h"
#include "platform/handles.h"
#include "runtime/core/state.h"

namespace corvala {
namespace {

// A zero byte with a zero 32-bit word before it, as in front of every counted text.
struct alignas(4) EmptyTextStorage {
  uint32_t wordBefore;
  char text[4];
};
constexpr EmptyTextStorage kEmptyText{};

// Record arrays sit 8 bytes into a tracked block, and the tracked blocks release them.
constexpr Word kRecordArrayHeader = 8;

bool IsRecordArray(Word entry) {
  const Word* tracked = TrackedBlockTable();
  for (int i = 0; i < kCvHeapStrings; ++i) {
    if (tracked[i] != 0 && tracked[i] + kRecordArrayHeader == entry) return true;
  }
  return false;
}

void EraseOne(Word& entry) {
  if (entry == 0 || entry == kErased || IsRecordArray(entry)) return;
  ArrayDescriptor* array = reinterpret_cast<ArrayDescriptor*>(entry);
  int32_t count = array->count;
  entry = kErased;
  array->count = -1;
  // Bit 0 marks a backing block whose texts were moved 8 bytes in for alignment.
  if (array->backing != 0) {
    Word allocation = (array->backing & 1) ? array->backing - 9 : array->backing;
    CountedFree(reinterpret_cast<void*>(allocation));
  }
  ElementRecord* elements = array->elements();
  for (int32_t i = 0; i < count; ++i) {
    if (elements[i].length > 0) CountedFree(const_cast<char*>(elements[i].text));
  }
  CountedFree(array);
}

void CloseOne(Word& entry) {
  if (entry == 0) return;
  platform::CloseHandle(reinterpret_cast<HANDLE>(entry));
  entry = 0;
}

}  // namespace

const char* const EmptyText = kEmptyText.text;

Word* ArrayTable() { return internal::g_state.core.arrayTable; }
Word* FileTable() { return internal::g_state.core.fileTable; }

void EraseArray(int32_t arrayNumber) {
  if (arrayNumber < kEraseAllArrays || arrayNumber >= kArrayNumbers) {
    FatalErrorLine(kErrorCountTooHigh);
  }
  if (arrayNumber != kEraseAllArrays) return EraseOne(ArrayTable()[arrayNumber]);
  for (int n = 0; n < kArrayNumbers; ++n) EraseOne(ArrayTable()[n]);
}

void CloseFile(int32_t fileNumber) {
  if (fileNumber < 0 || fileNumber > kCloseAllFiles) FatalErrorLine(kErrorCountTooHigh);
  if (fileNumber != kCloseAllFiles) return CloseOne(FileTable()[fileNumber]);
  for (int n = kFileNumbers - 1; n >= 0; --n) CloseOne(FileTable()[n]);
}

}  // namespace corvala
