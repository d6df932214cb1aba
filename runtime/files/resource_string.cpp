#include <cstdint>

#include "corvala/core.h"
#include "corvala/files.h"
#include "platform/process.h"
#include "platform/resources.h"

namespace corvala {

const char* ResourceString(int32_t id) {
  char* buffer = ScratchWritePosition();
  HINSTANCE module = platform::GetModuleHandleA(nullptr);
  // 4096 characters: up to 8192 bytes of UTF-16 text, within the scratch overrun zone.
  constexpr int kMaxCharacters = 4096;
  int characters;
  int unit;
  if (id >= 0) {
    characters = platform::LoadStringA(module, static_cast<UINT>(id), buffer, kMaxCharacters);
    unit = 1;
  } else {
    characters = platform::LoadStringW(module, 0u - static_cast<UINT>(id),
                                       reinterpret_cast<LPWSTR>(buffer), kMaxCharacters);
    unit = 2;
  }
  ReportApiFailure(static_cast<Word>(characters));
  if (characters <= 0) {
    characters = 0;
    buffer[0] = buffer[1] = '\0';
  }
  return CommitScratchText(buffer + ptrdiff_t{characters} * unit, kSlotAdvance).text;
}

void RegisterStringTable(const StringResource* entries, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    const platform::StringResource entry = {entries[i].id, entries[i].text};
    platform::RegisterStringTable(&entry, 1);
  }
}

}  // namespace corvala
