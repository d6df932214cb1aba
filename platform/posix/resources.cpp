#include "platform/resources.h"

#include <cstdint>

#include "platform/errors.h"
#include "platform/plain_list.h"

namespace platform {
namespace {

constexpr DWORD kResourceNameNotFound = 1814;  // ERROR_RESOURCE_NAME_NOT_FOUND

// The registered strings, one entry per id (a later registration replaces the text).
PlainList<StringResource>& Table() {
  static PlainList<StringResource> table;
  return table;
}

StringResource* Entry(UINT id) {
  for (StringResource& entry : Table()) {
    if (entry.id == id) return &entry;
  }
  return nullptr;
}

// Code page 1252 bytes 0x80 to 0x9F; 0 marks the five unassigned bytes.
const char16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char ToCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] != 0 && kCp1252High[i] == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// The character that starts at *p (not at the terminator); moves *p past it.
char32_t NextUtf8(const uint8_t** p) {
  const uint8_t* q = *p;
  char32_t c = *q++;
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
  if (extra) c &= 0x3Fu >> extra;
  for (; extra > 0 && (*q & 0xC0) == 0x80; --extra) c = (c << 6) | (*q++ & 0x3F);
  *p = q;
  return c;
}

const uint8_t* Find(UINT id) {
  const StringResource* entry = Entry(id);
  if (entry == nullptr || entry->text[0] == '\0') {
    SetLastError(kResourceNameNotFound);
    return nullptr;
  }
  return reinterpret_cast<const uint8_t*>(entry->text);
}

}  // namespace

void RegisterStringTable(const StringResource* entries, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (StringResource* entry = Entry(entries[i].id)) {
      entry->text = entries[i].text;
    } else {
      Table().Append(entries[i]);
    }
  }
}

int LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int max) {
  if (buffer == nullptr || max <= 0) return 0;
  buffer[0] = '\0';
  const uint8_t* text = Find(id);
  if (text == nullptr) return 0;
  int n = 0;
  while (*text != 0 && n < max - 1) buffer[n++] = ToCp1252(NextUtf8(&text));
  buffer[n] = '\0';
  return n;
}

int LoadStringW(HINSTANCE, UINT id, LPWSTR buffer, int max) {
  if (buffer == nullptr || max <= 0) return 0;
  buffer[0] = 0;
  const uint8_t* text = Find(id);
  if (text == nullptr) return 0;
  int n = 0;
  while (*text != 0) {
    char32_t c = NextUtf8(&text);
    if (c >= 0x10000) {
      if (n + 2 > max - 1) break;
      c -= 0x10000;
      buffer[n++] = static_cast<WCHAR>(0xD800 + (c >> 10));
      buffer[n++] = static_cast<WCHAR>(0xDC00 + (c & 0x3FF));
    } else {
      if (n >= max - 1) break;
      buffer[n++] = static_cast<WCHAR>(c);
    }
  }
  buffer[n] = 0;
  return n;
}

}  // namespace platform
