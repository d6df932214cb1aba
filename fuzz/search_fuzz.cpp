// FindText, TextLength and CompareTexts beside plain byte-by-byte models of the same rules:
// random text, pattern, flags and a few successive starts. Any difference in a result,
// LastFoundPosition or the kept search length aborts. The text sits against an inaccessible
// page (after its terminator or before its first byte), so a read outside the pages it
// occupies crashes; the pattern sits in an exactly sized heap block for the address sanitizer.
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "corvala/strings.h"
#include "platform/text.h"
#include "runtime/core/state.h"

namespace {

using corvala::FindFirstIgnoreCase;
using corvala::FindIgnoreCase;
using corvala::FindReverse;
using corvala::FindWholeWord;
using corvala::FindWide;

constexpr size_t kPage = 4096;
constexpr int kFoldUnits = 3200;

// Three pages, the outer two inaccessible; returns the middle one.
char* GuardedPage() {
  char* base = static_cast<char*>(
      mmap(nullptr, 3 * kPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  mprotect(base, kPage, PROT_NONE);
  mprotect(base + 2 * kPage, kPage, PROT_NONE);
  return base + kPage;
}
char* MiddlePage() {
  static char* page = GuardedPage();
  return page;
}
char* OtherPage() {
  static char* page = GuardedPage();
  return page;
}

// Letters in both cases, bytes that differ from them only in bit 5, boundaries and a few
// bytes from 128 up, so that short inputs still match often.
constexpr uint8_t kBytes[] = {'a', 'A',  'b',  'B', ' ', '@',  '`', '_',
                              '1', 0xE9, 0xC9, '[', '{', 0x7F, 'b', '.'};
constexpr char16_t kUnits[] = {u'a', u'A', u'b', u'B', u' ',   u'é',   u'É', u'σ',
                               u'Σ', u'ς', u'ß', u'1', 0xD801, 0xDC28, u'a', u'b'};

struct Model {
  int32_t last = 0;
  int32_t searchLength = 0;
};

template <typename Unit>
size_t Length(const Unit* s) {
  size_t n = 0;
  while (s[n] != 0) ++n;
  return n;
}

int32_t ByteSearch(Model& m, int32_t start, const uint8_t* t, const uint8_t* pat, uint32_t flags) {
  const ptrdiff_t length = static_cast<ptrdiff_t>(Length(t));
  const size_t patternLength = Length(pat);
  if (patternLength == 0) return 0;
  if (patternLength == 1) {
    if ((flags & FindReverse) != 0) {
      ptrdiff_t before = start > 0 ? start - 1 : start == 0 ? m.last - 1 : length;
      for (ptrdiff_t c = before - 1; c >= 0; --c) {
        if (t[c] == pat[0]) return static_cast<int32_t>(c + 1);
      }
      return 0;
    }
    ptrdiff_t from, end;
    if (start != 0) {
      from = start > 0 ? start - 1 : 0;
      m.searchLength = static_cast<int32_t>(length);
      end = length;
    } else {
      if (m.searchLength - m.last <= 0) return 0;
      from = m.last;
      end = m.searchLength;
    }
    for (ptrdiff_t c = from; c < end && t[c] != 0; ++c) {
      if (t[c] == pat[0]) return static_cast<int32_t>(c + 1);
    }
    return 0;
  }
  const uint8_t rest = (flags & FindIgnoreCase) != 0 ? 32 : 0;
  const uint8_t first = (flags & (FindIgnoreCase | FindFirstIgnoreCase)) != 0 ? 32 : 0;
  const bool word = (flags & FindWholeWord) != 0 && !(pat[0] <= 32 || pat[0] >= 128);
  auto matches = [&](ptrdiff_t c) {
    for (size_t j = 0; j < patternLength; ++j) {
      uint8_t mask = j == 0 ? first : rest;
      if (t[c + j] == 0 || (t[c + j] | mask) != (pat[j] | mask)) return false;
    }
    if (word && (t[c + patternLength] > 64 || (c > 0 && t[c - 1] > 64))) return false;
    return true;
  };
  if ((flags & FindReverse) != 0) {
    ptrdiff_t before = start > 0 ? start - 1 : start == 0 ? m.last : length;
    for (ptrdiff_t c = before - 2; c >= 0; --c) {
      if (matches(c)) return static_cast<int32_t>(c + 1);
    }
    return 0;
  }
  for (ptrdiff_t c = start > 0 ? start - 1 : start == 0 ? m.last : 0; c < length; ++c) {
    if (matches(c)) return static_cast<int32_t>(c + 1);
  }
  return 0;
}

int32_t WideSearch(Model& m, int32_t start, const char16_t* t, const char16_t* pat,
                   uint32_t flags) {
  const ptrdiff_t length = static_cast<ptrdiff_t>(Length(t));
  const size_t patternLength = Length(pat);
  if (patternLength == 0) return 0;
  std::vector<char16_t> lower(pat, pat + patternLength + 1), upper = lower;
  if ((flags & FindIgnoreCase) != 0) {
    int n = static_cast<int>(std::min<size_t>(patternLength + 1, kFoldUnits));
    lower.assign(kFoldUnits, 0);
    upper.assign(kFoldUnits, 0);
    platform::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING, pat, n,
                           lower.data(), kFoldUnits);
    platform::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING, pat, n,
                           upper.data(), n);
    lower[n - 1] = upper[n - 1] = 0;
  }
  auto matches = [&](ptrdiff_t c) {
    for (size_t i = 0; upper[i] != 0; ++i) {
      if (t[c + i] == 0 || (t[c + i] != lower[i] && t[c + i] != upper[i])) return false;
    }
    return true;
  };
  if ((flags & FindReverse) != 0) {
    ptrdiff_t before = start > 0 ? start - 1 : start == 0 ? m.last - 1 : length;
    for (ptrdiff_t c = before - 1; c >= 0; --c) {
      if (matches(c)) return static_cast<int32_t>(c + 1);
    }
    return 0;
  }
  for (ptrdiff_t c = start > 0 ? start - 1 : start == 0 ? m.last : 0; c < length; ++c) {
    if (matches(c)) return static_cast<int32_t>(c + 1);
  }
  return 0;
}

int32_t CompareModel(const uint8_t* a, const uint8_t* b, bool fold, uint32_t* offset) {
  size_t i = 0;
  while (a[i] != 0 && b[i] != 0 && (fold ? (a[i] | 32) == (b[i] | 32) : a[i] == b[i])) ++i;
  *offset = static_cast<uint32_t>(i);
  return a[i] - b[i];
}

void Check(bool ok) {
  if (!ok) std::abort();
}

// A start within the text or just behind it; the three kinds (above 0, 0, below 0) often.
int32_t StartFrom(uint8_t byte, size_t length) {
  int32_t s = static_cast<int8_t>(byte);
  if (s > 0) s = 1 + s % static_cast<int32_t>(length + 1);
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const uint32_t flags = data[0];
  const bool wide = (flags & FindWide) != 0;
  const bool small = (data[1] & 1) != 0;         // bytes from the small alphabet
  const bool atPageStart = (data[1] & 2) != 0;   // else against the page's end
  const size_t starts = 1 + (data[1] >> 2) % 4;  // successive searches
  if (size < 2 + starts) return 0;
  const uint8_t* startBytes = data + 2;
  const uint8_t* rest = data + 2 + starts;
  size_t restSize = size - 2 - starts;
  if (restSize == 0) return 0;
  const size_t unit = wide ? 2 : 1;
  size_t patternUnits = std::min<size_t>(rest[0] % 8, (restSize - 1) / unit);
  const uint8_t* patternData = rest + 1;
  const uint8_t* textData = patternData + patternUnits * unit;
  size_t textUnits = std::min((restSize - 1 - patternUnits * unit) / unit, kPage / unit - 1);

  corvala::internal::ResetRuntimeState();
  Model model;
  char* page = MiddlePage();
  if (!wide) {
    std::vector<uint8_t> pattern(patternUnits + 1, 0);
    for (size_t i = 0; i < patternUnits; ++i) {
      pattern[i] = small ? kBytes[patternData[i] % 16] : patternData[i];
    }
    uint8_t* text = reinterpret_cast<uint8_t*>(atPageStart ? page : page + kPage - textUnits - 1);
    for (size_t i = 0; i < textUnits; ++i) text[i] = small ? kBytes[textData[i] % 16] : textData[i];
    text[textUnits] = 0;
    const size_t length = Length(text);
    // The primitives on the same bytes: the text against the pattern, and against a copy of
    // itself with one byte changed, placed against the other page's opposite edge.
    Check(corvala::TextLength(reinterpret_cast<char*>(text)) == length);
    const size_t changed = length == 0 ? 0 : startBytes[0] * 131u % length;
    const size_t copyLength = std::min(length, size_t{(rest[0] & 8) != 0 ? changed : length});
    uint8_t* copy = reinterpret_cast<uint8_t*>(atPageStart ? OtherPage() + kPage - copyLength - 1
                                                           : OtherPage());
    std::memcpy(copy, text, copyLength);
    copy[copyLength] = 0;
    if (changed < copyLength) copy[changed] ^= (startBytes[0] & 1) != 0 ? 0x20 : 0x01;
    for (bool fold : {false, true}) {
      for (auto [a, b] :
           {std::pair{text, pattern.data()}, std::pair{text, copy}, std::pair{copy, text}}) {
        uint32_t offset;
        int32_t difference = CompareModel(a, b, fold, &offset);
        corvala::TextComparison r = corvala::CompareTexts(reinterpret_cast<char*>(a),
                                                          reinterpret_cast<char*>(b), fold ? 1 : 0);
        Check(r.difference == difference && r.offset == offset);
      }
    }
    for (size_t k = 0; k < starts; ++k) {
      int32_t start = StartFrom(startBytes[k], length);
      int32_t expected = ByteSearch(model, start, text, pattern.data(), flags);
      model.last = expected;
      corvala::FoundText found = corvala::FindText(start, reinterpret_cast<char*>(text),
                                                   reinterpret_cast<char*>(pattern.data()), flags);
      Check(found.position == expected && corvala::LastFoundPosition == expected);
      Check(found.address ==
            (expected != 0 ? reinterpret_cast<char*>(text) + expected - 1 : nullptr));
      Check(corvala::internal::g_state.strings.lastSearchLength == model.searchLength);
    }
  } else {
    std::vector<char16_t> pattern(patternUnits + 1, 0);
    for (size_t i = 0; i < patternUnits; ++i) {
      char16_t u;
      std::memcpy(&u, patternData + 2 * i, 2);
      pattern[i] = small ? kUnits[u % 16] : u;
    }
    char16_t* text =
        reinterpret_cast<char16_t*>(atPageStart ? page : page + kPage - 2 * (textUnits + 1));
    for (size_t i = 0; i < textUnits; ++i) {
      char16_t u;
      std::memcpy(&u, textData + 2 * i, 2);
      text[i] = small ? kUnits[u % 16] : u;
    }
    text[textUnits] = 0;
    const size_t length = Length(text);
    Check(corvala::WideTextLength(text) == length);
    for (size_t k = 0; k < starts; ++k) {
      int32_t start = StartFrom(startBytes[k], length);
      int32_t expected = WideSearch(model, start, text, pattern.data(), flags);
      model.last = expected;
      corvala::FoundText found = corvala::FindText(start, text, pattern.data(), flags);
      Check(found.position == expected && corvala::LastFoundPosition == expected);
      Check(found.address ==
            (expected != 0 ? reinterpret_cast<char*>(text + expected - 1) : nullptr));
    }
  }
  return 0;
}
