// CommandLineArg on arbitrary command lines and indexes: the argument (or the miss) agrees
// with a character-by-character model of the splitting rules, the result slot holds it, and
// nothing is written past the scratch area's text limit, however long the argument.
//
// Input: byte 0 is the index (signed), byte 1 chooses where the scratch write position
// stands and whether the line is stretched past the room left there, bytes 2 to 3 give a
// position, byte 4 the stretching character, and the rest is the command line.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "corvala/core.h"
#include "corvala/files.h"
#include "platform/hooks.h"
#include "runtime/core/state.h"

namespace {

using corvala::internal::g_state;
using corvala::internal::kScratchLimit;
using corvala::internal::kScratchRing;
using corvala::internal::kScratchSize;

constexpr uint8_t kCanary = 0xA5;
constexpr size_t kHeaderSize = 5;

void Check(bool ok) {
  if (!ok) std::abort();
}

struct Argument {
  bool found;
  std::string text;
};

// The rules one character at a time: blanks and control characters before an argument are
// skipped and the last of them ends it (a space when there were none); an opening quote
// (codes 33 to 39) ends it instead and is dropped; the ending character is consumed. An
// argument cut off by the end of the line only counts when a space would have ended it.
Argument ModelArgument(const std::string& line, int32_t index) {
  size_t i = 0;
  const size_t n = line.size();
  for (int32_t current = 0;; ++current) {
    unsigned char delimiter = ' ';
    while (i < n && static_cast<unsigned char>(line[i]) <= 32) delimiter = line[i++];
    if (i == n) return {false, {}};
    const unsigned char first = line[i];
    if (first >= 33 && first <= 39) {
      delimiter = first;
      ++i;
    }
    const size_t start = i;
    while (i < n && static_cast<unsigned char>(line[i]) != delimiter) ++i;
    std::string text = line.substr(start, i - start);
    const bool closed = i < n;
    if (closed) ++i;
    if (current == index) return {closed || delimiter == ' ', text};
    if (!closed) return {false, {}};
  }
}

// Where the write position stands: at the start of the area, anywhere in the ring, or at the
// last place before the ring wraps, the least room a write position can have (always there
// for a stretched line, which then needs the fewest bytes to reach the limit).
char* PlaceWritePosition(uint8_t choice, bool stretch, const uint8_t* data) {
  size_t offset = kScratchRing - 4;
  if (!stretch && (choice & 1) == 0) {
    offset = (choice & 2) == 0
                 ? 0
                 : ((static_cast<size_t>(data[2]) << 8 | data[3]) * 4 * 7) % kScratchRing;
  }
  g_state.core.scratchWrite = g_state.core.scratch + offset;
  return g_state.core.scratchWrite;
}

bool GuardIntact() {
  for (size_t i = kScratchLimit; i < kScratchSize; ++i) {
    if (static_cast<uint8_t>(g_state.core.scratch[i]) != kCanary) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeaderSize) return 0;
  const int32_t index = static_cast<int8_t>(data[0]);
  const uint8_t choice = data[1];
  const bool stretch = (choice & 0x1C) == 0x1C;
  const char filler = data[4] > 32 ? static_cast<char>(data[4]) : 'x';
  // The platform hands the line over zero-terminated: it ends at the first zero byte.
  const char* body = reinterpret_cast<const char*>(data + kHeaderSize);
  std::string line(body, strnlen(body, size - kHeaderSize));

  corvala::SelectTempSlot(corvala::kSlotCurrent);  // starts the runtime before the guard is set
  std::memset(g_state.core.scratch + kScratchLimit, kCanary, kScratchSize - kScratchLimit);
  char* out = PlaceWritePosition(choice, stretch, data);
  const size_t room = kScratchLimit - static_cast<size_t>(out - g_state.core.scratch);
  // The text and its 32-bit zero must end by the limit.
  const size_t capacity = room - 4;
  if (stretch && line.size() < room + 16) line.append(room + 16 - line.size(), filler);
  platform::hooks::SetCommandLine(line.c_str());

  const Argument expected = ModelArgument(line, index);
  const int32_t ringBefore = corvala::TempSlotIndex();
  const char* result = corvala::CommandLineArg(index);
  const corvala::TempSlot* slot = corvala::SelectTempSlot(corvala::kSlotCurrent);

  Check(corvala::TempSlotIndex() == (ringBefore >= 15 ? 1 : ringBefore + 1));
  Check(slot->text == out);
  if (!expected.found) {
    Check(result == nullptr);
    Check(slot->length == 1 && std::memcmp(out, "?", 2) == 0);
  } else {
    const size_t kept = expected.text.size() < capacity ? expected.text.size() : capacity;
    Check(result == out);
    Check(slot->length == static_cast<int32_t>(kept));
    Check(std::memcmp(out, expected.text.data(), kept) == 0);
    Check(std::memcmp(out + kept, "\0\0\0\0", 4) == 0);
  }
  Check(GuardIntact());
  return 0;
}
