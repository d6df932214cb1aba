#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "runtime/core/state.h"

namespace corvala {
namespace {

// Control bytes, the space and every byte from 128 up: read as signed, at most 32.
bool IsBlank(char c) { return static_cast<int8_t>(c) <= 32; }

}  // namespace

const char* TrimText(const char* source, uint32_t flags) {
  char* write = ScratchWritePosition();
  const char* text = source != nullptr ? source : write;
  uint32_t kept = TextLength(text);
  if (flags & TrimTrailing) {
    while (kept > 0 && IsBlank(text[kept - 1])) --kept;
  }
  if (flags & TrimLeading) {
    uint32_t skipped = 0;
    while (skipped < kept && IsBlank(text[skipped])) ++skipped;
    text += skipped;
    kept -= skipped;
  }
  // The copy and its terminator must end within the scratch area's text limit.
  size_t at = static_cast<size_t>(write - internal::g_state.core.scratch);
  if (kept >= internal::kScratchLimit - at) FatalError(kErrorInsufficientBuffer, 0);
  // The source may be the text at the write position itself.
  std::memmove(write, text, kept);
  write[kept] = '\0';
  return CommitScratchText(write + kept, kSlotAdvance).text;
}

}  // namespace corvala
