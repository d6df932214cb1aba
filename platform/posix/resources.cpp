#include "platform/resources.h"

#include <cstdint>
#include <map>
#include <string>

#include "platform/errors.h"

namespace platform {
namespace {

constexpr DWORD kResourceNameNotFound = 1814;  // ERROR_RESOURCE_NAME_NOT_FOUND

std::map<UINT, const char*>& Table() {
  static std::map<UINT, const char*> table;
  return table;
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

std::u32string DecodeUtf8(const char* text) {
  std::u32string out;
  const auto* p = reinterpret_cast<const uint8_t*>(text);
  while (*p) {
    char32_t c = *p++;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra) c &= 0x3Fu >> extra;
    for (; extra > 0 && (*p & 0xC0) == 0x80; --extra) c = (c << 6) | (*p++ & 0x3F);
    out += c;
  }
  return out;
}

const char* Find(UINT id) {
  auto it = Table().find(id);
  if (it == Table().end() || it->second[0] == '\0') {
    SetLastError(kResourceNameNotFound);
    return nullptr;
  }
  return it->second;
}

}  // namespace

void RegisterStringTable(const StringResource* entries, size_t count) {
  for (size_t i = 0; i < count; ++i) Table()[entries[i].id] = entries[i].text;
}

int LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int max) {
  if (buffer == nullptr || max <= 0) return 0;
  buffer[0] = '\0';
  const char* text = Find(id);
  if (text == nullptr) return 0;
  int n = 0;
  for (char32_t c : DecodeUtf8(text)) {
    if (n >= max - 1) break;
    buffer[n++] = ToCp1252(c);
  }
  buffer[n] = '\0';
  return n;
}

int LoadStringW(HINSTANCE, UINT id, LPWSTR buffer, int max) {
  if (buffer == nullptr || max <= 0) return 0;
  buffer[0] = 0;
  const char* text = Find(id);
  if (text == nullptr) return 0;
  int n = 0;
  for (char32_t c : DecodeUtf8(text)) {
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
