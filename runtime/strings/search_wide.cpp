#include "runtime/strings/search_wide.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "corvala/strings.h"
#include "platform/text.h"
#include "runtime/core/state.h"

namespace corvala::internal {
namespace {

// Each pattern unit in its lower- and upper-case form; a text unit matches either.
struct WideForms {
  const char16_t* lower;
  const char16_t* upper;
};

// Maps the pattern once, never the text. At most kFoldBufferUnits - 1 units take part.
WideForms FoldPattern(const char16_t* pattern) {
  char16_t(&buffers)[2][kFoldBufferUnits] = g_state.strings.foldBuffers;
  const int units = static_cast<int>(
      std::min<uint32_t>(WideTextLength(pattern) + 1, static_cast<uint32_t>(kFoldBufferUnits)));
  LPCWSTR source = reinterpret_cast<LPCWSTR>(pattern);
  LPWSTR lower = reinterpret_cast<LPWSTR>(buffers[0]);
  LPWSTR upper = reinterpret_cast<LPWSTR>(buffers[1]);
  // A failed mapping leaves that form exact rather than undefined.
  if (platform::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING, source,
                             units, lower, kFoldBufferUnits) == 0) {
    std::memcpy(buffers[0], pattern, units * sizeof(char16_t));
  }
  if (platform::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING, source,
                             units, upper, units) == 0) {
    std::memcpy(buffers[1], pattern, units * sizeof(char16_t));
  }
  buffers[0][units - 1] = 0;
  buffers[1][units - 1] = 0;
  return {buffers[0], buffers[1]};
}

bool MatchesAt(const char16_t* t, const WideForms& p) {
  for (size_t i = 0; p.upper[i] != 0; ++i) {
    if (t[i] == 0 || (t[i] != p.lower[i] && t[i] != p.upper[i])) return false;
  }
  return true;
}

}  // namespace

const char16_t* FindWideText(int32_t start, const char16_t* text, const char16_t* pattern,
                             uint32_t flags) {
  if (pattern[0] == 0) return nullptr;  // an empty pattern is a miss
  // Without FindIgnoreCase the pattern is its own folded form: no copy, no length limit.
  const WideForms p =
      (flags & FindIgnoreCase) != 0 ? FoldPattern(pattern) : WideForms{pattern, pattern};
  const int32_t last = g_state.strings.lastFoundPosition;
  if ((flags & FindReverse) != 0) {
    // Matches that begin before the starting unit; start 0: before the previous match.
    ptrdiff_t before = start > 0    ? start - 1
                       : start == 0 ? last - 1
                                    : static_cast<ptrdiff_t>(WideTextLength(text));
    for (ptrdiff_t c = before - 1; c >= 0; --c) {
      if (MatchesAt(text + c, p)) return text + c;
    }
    return nullptr;
  }
  // start 0: the unit after the previous match's first unit.
  for (const char16_t* t = text + (start > 0 ? start - 1 : start == 0 ? last : 0); *t != 0; ++t) {
    if ((*t == p.lower[0] || *t == p.upper[0]) && MatchesAt(t, p)) return t;
  }
  return nullptr;
}

}  // namespace corvala::internal
