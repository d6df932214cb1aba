#include "platform/text.h"

#include <locale.h>
#include <wctype.h>

#include "platform/errors.h"

namespace platform {
namespace {

// The case tables of C.UTF-8 hold Unicode's simple case mapping; opened once, so that the
// mapping never depends on the environment's locale. Without it only ASCII letters map.
locale_t CaseLocale() {
  static const locale_t locale = [] {
    locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return unicode ? unicode : newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
  }();
  return locale;
}

char32_t MapCodePoint(char32_t c, bool upper) {
  locale_t locale = CaseLocale();
  wint_t mapped = upper ? towupper_l(static_cast<wint_t>(c), locale)
                        : towlower_l(static_cast<wint_t>(c), locale);
  return static_cast<char32_t>(mapped);
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

int LCMapStringW(LCID, DWORD mapFlags, LPCWSTR source, int sourceLength, LPWSTR destination,
                 int destinationLength) {
  const DWORD caseFlags = mapFlags & (LCMAP_LOWERCASE | LCMAP_UPPERCASE);
  if (source == nullptr || sourceLength == 0 || sourceLength < -1 || destinationLength < 0 ||
      (destinationLength > 0 && destination == nullptr)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if ((mapFlags & ~(LCMAP_LOWERCASE | LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING)) != 0 ||
      (caseFlags != LCMAP_LOWERCASE && caseFlags != LCMAP_UPPERCASE)) {
    return Fail(ERROR_INVALID_FLAGS);
  }
  int length = sourceLength;
  if (length == -1) {
    length = 1;
    while (source[length - 1] != 0) ++length;
  }
  if (destinationLength == 0) return length;  // simple case mapping keeps the unit count
  if (destinationLength < length) return Fail(ERROR_INSUFFICIENT_BUFFER);
  const bool upper = caseFlags == LCMAP_UPPERCASE;
  for (int i = 0; i < length; ++i) {
    char16_t unit = source[i];
    if (IsHighSurrogate(unit) && i + 1 < length && IsLowSurrogate(source[i + 1])) {
      char32_t c = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (source[i + 1] - 0xDC00);
      char32_t mapped = MapCodePoint(c, upper);
      // A pair maps only to another pair, so that the length never changes.
      if (mapped >= 0x10000 && mapped <= 0x10FFFF) c = mapped;
      destination[i] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      destination[i + 1] = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
      ++i;
      continue;
    }
    char32_t mapped =
        IsHighSurrogate(unit) || IsLowSurrogate(unit) ? unit : MapCodePoint(unit, upper);
    destination[i] = mapped <= 0xFFFF ? static_cast<char16_t>(mapped) : unit;
  }
  return length;
}

}  // namespace platform
