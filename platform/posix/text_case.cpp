// The ANSI case mapping of the text family (declared in platform/text.h).
#include <array>
#include <cstdint>

#include "platform/text.h"

namespace platform {
namespace {

using CaseTable = std::array<uint8_t, 256>;

// The upper-case partner of each lower-case byte in code page 1252, 0 when it has none.
constexpr uint8_t UpperOf(int b) {
  if (b >= 'a' && b <= 'z') return static_cast<uint8_t>(b - 0x20);
  if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<uint8_t>(b - 0x20);
  switch (b) {
    case 0x9A:
      return 0x8A;
    case 0x9C:
      return 0x8C;
    case 0x9E:
      return 0x8E;
    case 0xFF:
      return 0x9F;
    default:
      return 0;
  }
}

constexpr CaseTable MakeUpper() {
  CaseTable table{};
  for (int b = 0; b < 256; ++b) {
    uint8_t upper = UpperOf(b);
    table[b] = upper != 0 ? upper : static_cast<uint8_t>(b);
  }
  return table;
}

constexpr CaseTable MakeLower() {
  CaseTable table{};
  for (int b = 0; b < 256; ++b) table[b] = static_cast<uint8_t>(b);
  for (int b = 0; b < 256; ++b) {
    uint8_t upper = UpperOf(b);
    if (upper != 0) table[upper] = static_cast<uint8_t>(b);
  }
  return table;
}

constexpr CaseTable kUpper = MakeUpper();
constexpr CaseTable kLower = MakeLower();

DWORD MapBytes(LPSTR text, DWORD length, const CaseTable& table) {
  if (text == nullptr) return 0;
  auto* bytes = reinterpret_cast<uint8_t*>(text);
  for (DWORD i = 0; i < length; ++i) bytes[i] = table[bytes[i]];
  return length;
}

}  // namespace

DWORD CharUpperBuffA(LPSTR text, DWORD length) { return MapBytes(text, length, kUpper); }
DWORD CharLowerBuffA(LPSTR text, DWORD length) { return MapBytes(text, length, kLower); }

}  // namespace platform
