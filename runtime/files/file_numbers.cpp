#include "runtime/files/file_numbers.h"

#include <cstring>

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/numbers.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "runtime/core/state.h"

namespace corvala {
namespace {

using internal::EntryOf;
using internal::HandleOf;

bool ValidNumber(int32_t fileNumber) {
  return fileNumber >= 0 && fileNumber <= static_cast<int32_t>(internal::kLastFileNumber);
}

// The reason for the last failed open, for the calling program to show; cut to the buffer.
void SetFileErrorText(const char* reason, const char* name) {
  char* text = internal::g_state.core.fileErrorText;
  const size_t room = internal::kFileErrorTextSize - 1;
  size_t length = std::strlen(reason);
  std::memcpy(text, reason, length);
  if (internal::IsSmallName(reinterpret_cast<Word>(name))) {
    // A number of at most three digits, well within the room.
    IntToDecimal(static_cast<int32_t>(reinterpret_cast<Word>(name)), text + length);
    return;
  }
  if (name != nullptr) {
    size_t nameLength = strnlen(name, room - length);
    std::memcpy(text + length, name, nameLength);
    length += nameLength;
  }
  text[length] = '\0';
}

Word Opened(int32_t fileNumber, HANDLE handle) {
  Word entry = EntryOf(handle);
  FileTable()[fileNumber] = entry;
  return entry;
}

// A small number in place of a name opens nothing: the platform would read it as an address.
Word NotOpened(int32_t fileNumber, const char* reason, const char* name) {
  platform::SetLastError(ERROR_INVALID_NAME);
  SetFileErrorText(reason, name);
  return Opened(fileNumber, INVALID_HANDLE_VALUE);
}

}  // namespace

namespace internal {

void FatalErrorNumberName(uint32_t code, Word number) {
  char text[12];
  IntToDecimal(static_cast<int32_t>(number), text);
  FatalError(code, reinterpret_cast<Word>(text));
}

}  // namespace internal

Word OpenInput(int32_t fileNumber, const char* name, TextArg search) {
  if (!ValidNumber(fileNumber)) return kOpenFailed;
  if (internal::IsSmallName(reinterpret_cast<Word>(name))) {
    return NotOpened(fileNumber, "File not found: ", name);
  }
  const char* path = name;
  char found[MAX_PATH];
  if (search.word() != 0) {
    // 1 (or any other small value) searches the standard order, an address its folder list.
    const char* folders = search.IsSmall() ? nullptr : search.bytes();
    char* filePart = nullptr;
    DWORD length = platform::SearchPathA(folders, name, nullptr, MAX_PATH, found, &filePart);
    // A path too long for the buffer was not written to it: not found, as for a miss.
    if (length == 0 || length >= MAX_PATH) return Opened(fileNumber, INVALID_HANDLE_VALUE);
    path = found;
  }
  HANDLE handle = platform::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) SetFileErrorText("File not found: ", name);
  return Opened(fileNumber, handle);
}

Word OpenOutput(int32_t fileNumber, const char* name, int32_t mode) {
  if (!ValidNumber(fileNumber)) return kOpenFailed;
  if (internal::IsSmallName(reinterpret_cast<Word>(name))) {
    return NotOpened(fileNumber, "Could not open ", name);
  }
  const int32_t folded = mode | 0x20;
  const bool keeps = folded == 'a' || folded == 'u';
  HANDLE handle =
      platform::CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            keeps ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  Word entry = Opened(fileNumber, handle);
  if (handle == INVALID_HANDLE_VALUE) {
    SetFileErrorText("Could not open ", name);
  } else if (folded == 'a') {
    LONG high = 0;  // with the high half, files past 4 GB are positioned right too
    platform::SetFilePointer(handle, 0, &high, FILE_END);
  }
  return entry;
}

FileBytes ReadFromFile(int32_t fileNumber, void* buffer, int32_t count) {
  char* bytes = static_cast<char*>(buffer);
  if (!ValidNumber(fileNumber) || count <= 0) return {0, bytes};
  Word entry = FileTable()[fileNumber];
  if (entry == kOpenFailed) return {0, bytes};
  DWORD read = 0;  // a free number (entry 0) fails the read and leaves this 0
  platform::ReadFile(HandleOf(entry), buffer, static_cast<DWORD>(count), &read, nullptr);
  return {static_cast<int32_t>(read), bytes};
}

int32_t TouchFile(Word handle, int32_t check) {
  SYSTEMTIME now;
  platform::GetSystemTime(&now);
  FILETIME time;
  platform::SystemTimeToFileTime(&now, &time);
  BOOL done = platform::SetFileTime(HandleOf(handle), &time, &time, &time);
  if (!done && check != 0) FatalLastError();
  return done;
}

}  // namespace corvala
