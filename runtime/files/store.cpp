#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "corvala/files.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "runtime/core/state.h"
#include "runtime/files/file_numbers.h"

namespace corvala {
namespace {

using internal::HandleOf;

// The staging buffer is the scratch area from its first byte, 640,000 bytes of it. A line
// that starts a fresh buffer fits with its CR LF when it is at most this long.
constexpr uint32_t kStageLimit = 639998;

ArrayDescriptor* LiveArray(int32_t arrayNumber) {
  if (arrayNumber < 0 || arrayNumber >= kArrayNumbers) return nullptr;
  Word entry = ArrayTable()[arrayNumber];
  if (entry == 0 || entry == kErased) return nullptr;
  return reinterpret_cast<ArrayDescriptor*>(entry);
}

uint32_t Magnitude(int32_t length) {
  return length < 0 ? 0u - static_cast<uint32_t>(length) : static_cast<uint32_t>(length);
}

// All elements but the empty ones at the end.
int32_t CountWithoutEmptyTail(ArrayDescriptor* array) {
  int32_t count = array->count;
  const ElementRecord* records = array->elements();
  while (count > 0 && (records[count - 1].text == nullptr || records[count - 1].length == 0)) {
    --count;
  }
  return count;
}

void WriteBytes(HANDLE handle, const char* bytes, uint32_t count) {
  DWORD written;  // not checked: a full disk or a number not open for writing goes unnoticed
  platform::WriteFile(handle, bytes, count, &written, nullptr);
}

}  // namespace

int32_t Store(TextArg file, int32_t arrayNumber, int32_t count) {
  ArrayDescriptor* array = LiveArray(arrayNumber);
  if (count < 0) {
    if (array == nullptr) FatalErrorLine(kErrorArrayErased);
    count = CountWithoutEmptyTail(array);
  }

  const bool byName = !internal::IsFileNumber(file.word());
  if (file.IsSmall() && byName) internal::FatalErrorNumberName(kErrorStoreOpen, file.word());
  HANDLE handle;
  if (byName) {
    Word entry = OpenOutput(internal::kWorkingFileNumber, file.bytes(), 'O');
    if (entry == kOpenFailed) FatalError(kErrorStoreOpen, file.word());
    FileTable()[internal::kWorkingFileNumber] = 0;
    handle = HandleOf(entry);
  } else {
    handle = HandleOf(FileTable()[file.word()]);
  }

  // The scratch area becomes the staging buffer; the next temporary text starts afresh.
  internal::g_state.core.scratchWrite = nullptr;
  char* const stage = internal::g_state.core.scratch;
  uint32_t staged = 0;
  for (int32_t index = 0; index < count; ++index) {
    if (array == nullptr) FatalErrorLine(kErrorArrayErased);
    if (index >= array->count) FatalErrorLine(kErrorCountTooHigh);
    const ElementRecord& element = array->elements()[index];
    const uint32_t length = element.text == nullptr ? 0 : Magnitude(element.length);
    if (staged + length >= kStageLimit && staged != 0) {
      WriteBytes(handle, stage, staged);
      staged = 0;
    }
    if (length > kStageLimit) {
      WriteBytes(handle, element.text, length);  // too long to stage: written as it lies
    } else if (length != 0) {
      std::memcpy(stage + staged, element.text, length);
      staged += length;
    }
    stage[staged] = '\r';
    stage[staged + 1] = '\n';
    staged += 2;
  }
  WriteBytes(handle, stage, staged);

  if (byName) platform::CloseHandle(handle);
  return count;
}

}  // namespace corvala
