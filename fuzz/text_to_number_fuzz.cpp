// TextToNumber on arbitrary bytes: the text sits in an exactly sized heap block (with its
// terminator) for the address sanitizer, every destination kind is tried, and the checks
// are: nothing is stored on error, a store writes only its own bytes, the count stays
// within the text, the control word comes back unchanged, and the current slot's text
// (source 127) reads the same, and the one-pass reading of plain integers gives what the full
// way gives, stored bytes included.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "corvala/core.h"
#include "corvala/numbers.h"
#include "runtime/numbers/text_to_number.h"

namespace {

using corvala::NumberReading;
using corvala::Word;

constexpr uint8_t kCanary = 0xA5;

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

// Bytes each kind stores at its destination address.
size_t StoredBytes(int32_t kind) {
  switch (kind) {
    case corvala::kNumberSingle:
      return 4;
    case corvala::kNumberDouble:
    case corvala::kNumberInt64:
      return 8;
    case corvala::kNumberExtended:
      return 10;
    default:
      return 0;
  }
}

void Check(const char* text, size_t length) {
  for (int32_t kind = 0; kind <= 8; ++kind) {
    uint8_t destination[16];
    std::memset(destination, kCanary, sizeof destination);
    corvala::SseRegisterValue before = corvala::SseRegister(1);
    bool registerKind = kind == corvala::kNumberSseDouble || kind == corvala::kNumberSseInt64 ||
                        kind == corvala::kNumberSseInt64Alt;
    Word where = registerKind ? corvala::kSseRegisterCode + 1 : reinterpret_cast<Word>(destination);
    uint16_t mode = ControlWord();
    int top = StackTop();
    NumberReading r = corvala::TextToNumber(text, where, kind);
    if (ControlWord() != mode || StackTop() != top) std::abort();
    corvala::SseRegisterValue after = corvala::SseRegister(1);
    if (after.high != before.high) std::abort();
    size_t stored = registerKind ? 0 : StoredBytes(kind);
    if (r.count == corvala::kNumberUnreadable) {
      if (r.value != corvala::kNumberUnreadable) std::abort();
      stored = 0;
      if (after.low != before.low) std::abort();
    } else if (r.count < 0 || static_cast<size_t>(r.count) > length + 2 * 256) {
      std::abort();
    }
    for (size_t i = stored; i < sizeof destination; ++i) {
      if (destination[i] != kCanary) std::abort();
    }
    // The full way, without the one-pass shortcut, reads and stores the same.
    uint8_t full[sizeof destination];
    std::memset(full, kCanary, sizeof full);
    Word fullWhere = registerKind ? where : reinterpret_cast<Word>(full);
    NumberReading slow = corvala::internal::ConvertTextToNumber(text, fullWhere, kind, false);
    if (slow.count != r.count || slow.value != r.value) std::abort();
    if (registerKind) {
      if (corvala::SseRegister(1).low != after.low) std::abort();
    } else if (std::memcmp(full, destination, stored) != 0) {
      std::abort();
    }
    // The same text through the current slot.
    corvala::SelectTempSlot(corvala::kSlotAdvance)->text = text;
    std::memset(destination, kCanary, sizeof destination);
    NumberReading again = corvala::TextToNumber(corvala::kCurrentSlot, where, kind);
    if (again.count != r.count || (kind == 0 && again.value != r.value)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<char> text(data, data + size);
  text.push_back('\0');
  text.shrink_to_fit();
  Check(text.data(), std::strlen(text.data()));
  return 0;
}
