#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "corvala/files.h"
#include "platform/process.h"
#include "runtime/core/state.h"

namespace corvala {
namespace {

// An argument opened by one of these characters runs to the same character.
bool IsOpeningQuote(uint8_t c) { return c >= 33 && c <= 39; }

}  // namespace

const char* CommandLineArg(int32_t index) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(platform::GetCommandLineA());
  char* out = ScratchWritePosition();
  // An argument longer than the room left before the scratch limit is cut there.
  char* limit = internal::g_state.core.scratch + internal::kScratchLimit - 4;
  char* w;
  bool found = false;
  for (int32_t current = 0;; ++current) {
    w = out;
    uint8_t delimiter = ' ';
    while (*p != 0 && *p <= 32) delimiter = *p++;
    if (*p == 0) break;
    if (IsOpeningQuote(*p)) delimiter = *p++;
    while (*p != 0 && *p != delimiter) {
      if (w < limit) *w++ = static_cast<char>(*p);
      ++p;
    }
    bool closed = *p != 0;
    if (closed) ++p;
    if (current == index) {
      found = closed || delimiter == ' ';
      break;
    }
    if (!closed) break;
  }
  if (!found) {
    out[0] = '?';
    out[1] = '\0';
    CommitScratchText(out + 1, kSlotAdvance);
    return nullptr;
  }
  std::memset(w, 0, 4);
  return CommitScratchText(w, kSlotAdvance).text;
}

}  // namespace corvala
