// NumberToText with arbitrary format texts, descriptors and operands. The bytes after the
// write position are filled with a marker first; afterwards the text must end at its
// terminator with the recorded length, nothing past the terminator may have changed, the
// control word must be the caller's, and without a format the number must have its shape:
// "-", then "^v?" or digits with a point and perhaps an exponent (floating form), or
// digits alone (integer forms).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "corvala/core.h"
#include "corvala/numbers.h"
#include "runtime/core/state.h"

namespace {

using corvala::Word;

constexpr char kMarker = '\x5A';

uint16_t ControlWord() {
  uint16_t cw;
  asm volatile("fnstcw %0" : "=m"(cw));
  return cw;
}

int StackTop() {
  uint16_t status;
  asm volatile("fnstsw %0" : "=m"(status));
  return (status >> 11) & 7;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool FloatingShape(const std::string& t) {
  size_t i = t[0] == '-' ? 1 : 0;
  if (t.compare(i, std::string::npos, "^v?") == 0) return true;
  size_t digits = i;
  while (digits < t.size() && IsDigit(t[digits])) ++digits;
  if (digits == i || digits >= t.size() || t[digits] != '.') return false;
  size_t fraction = digits + 1;
  while (fraction < t.size() && IsDigit(t[fraction])) ++fraction;
  if (fraction == digits + 1 || fraction - i > 23) return false;
  if (fraction == t.size()) return true;
  if (t[fraction] != 'e' || fraction + 4 > t.size()) return false;
  if (t[fraction + 1] != '+' && t[fraction + 1] != '-') return false;
  size_t exponent = t.size() - fraction - 2;
  if (exponent < 2 || exponent > 3) return false;
  return std::all_of(t.begin() + static_cast<ptrdiff_t>(fraction) + 2, t.end(), IsDigit);
}

bool IntegerShape(const std::string& t) {
  if (t == "^v?") return true;
  size_t i = t[0] == '-' ? 1 : 0;
  return i < t.size() && t.size() - i <= 20 && std::all_of(t.begin() + i, t.end(), IsDigit);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Header: selector choice, descriptor, count adjustment, five operands of 16 bytes.
  constexpr size_t kHeader = 1 + 4 + 1 + 5 * 16;
  if (size < kHeader) return 0;
  uint8_t choice = data[0];
  uint32_t descriptor;
  std::memcpy(&descriptor, data + 1, 4);
  int8_t countShift = static_cast<int8_t>(data[5]);
  alignas(16) uint8_t storage[5][16];
  std::memcpy(storage, data + 6, sizeof storage);
  std::vector<char> format(data + kHeader, data + size);
  format.push_back('\0');
  format.shrink_to_fit();

  // Operand k is argument count - k, that is slot count - k - 4. Each operand's slot holds
  // what its kind needs: an address into storage, a register code from 20 to 29 (28 and 29
  // name no register), or the raw 32-bit value.
  int32_t count = 9 + (countShift % 8);  // 9 is right for five slots
  Word slots[5] = {};
  for (int k = 1; k <= 5; ++k) {
    int index = count - k - 4;
    if (index < 0 || index >= 5) continue;
    uint32_t kind = (descriptor >> (6 * (k - 1) + 3)) & 7;
    uint8_t* bytes = storage[k - 1];
    uint32_t raw;
    std::memcpy(&raw, bytes, 4);
    if (kind == 2 || kind == 3 || kind == 6) {
      slots[index] = reinterpret_cast<Word>(bytes);
    } else if (kind == 4 || kind == 5 || kind == 7) {
      slots[index] = corvala::kSseRegisterCode + raw % 10;
      corvala::SetSseRegister(static_cast<int32_t>(raw % 8), {raw * 0x9E3779B97F4A7C15ull, 0});
    } else {
      slots[index] = raw;
    }
  }

  corvala::TextArg selector(0);
  bool bare = true;
  switch (choice % 5) {
    case 0:
      selector = corvala::TextArg(corvala::kFloatingForm);
      break;
    case 1:
      selector = corvala::TextArg(corvala::kIntegerForm);
      break;
    case 2:
      selector = corvala::TextArg(corvala::kUnsignedForm);
      break;
    case 3:
      selector = corvala::TextArg(format.data());
      bare = false;
      break;
    default:
      corvala::SelectTempSlot(corvala::kSlotAdvance)->text = format.data();
      selector = corvala::TextArg(static_cast<int>(corvala::kCurrentSlot));
      bare = false;
      break;
  }

  char* scratch = corvala::internal::g_state.core.scratch;
  char* start = corvala::ScratchWritePosition();
  char* markEnd =
      std::min(start + 2 * (format.size() + 64), scratch + corvala::internal::kScratchSize);
  std::memset(start, kMarker, static_cast<size_t>(markEnd - start));

  uint16_t mode = ControlWord();
  int top = StackTop();
  char* text = corvala::NumberToTextSlots(selector, descriptor, count, slots, 5);
  if (ControlWord() != mode || StackTop() != top) std::abort();
  if (text != start) std::abort();
  int32_t length = corvala::SelectTempSlot(corvala::kSlotCurrent)->length;
  bool wide = (descriptor & corvala::kWideNumberText) != 0;
  size_t terminator = wide ? 2 : 1;
  char* end = text + length;
  if (end + terminator > scratch + corvala::internal::kScratchLimit) std::abort();
  std::string narrow;
  if (wide) {
    for (int32_t i = 0; i < length; i += 2) {
      if (text[i + 1] != '\0' || text[i] == '\0') std::abort();
      narrow.push_back(text[i]);
    }
    if (end[0] != '\0' || end[1] != '\0') std::abort();
  } else {
    if (std::memchr(text, '\0', static_cast<size_t>(length)) != nullptr || *end != '\0') {
      std::abort();
    }
    narrow.assign(text, static_cast<size_t>(length));
  }
  for (char* p = end + terminator; p < markEnd; ++p) {
    if (*p != kMarker) std::abort();
  }
  if (bare) {
    bool shaped = choice % 5 == 0 ? FloatingShape(narrow) || narrow == "0.0" : IntegerShape(narrow);
    if (!shaped) std::abort();
  }
  return 0;
}
