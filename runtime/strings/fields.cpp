// Field extraction for arrays marked as holding tab- or comma-separated records.
#include "runtime/strings/fields.h"

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "corvala/strings.h"
#include "runtime/core/state.h"
#include "runtime/strings/simd.h"

namespace corvala {

FieldAccess& LastFieldAccess = internal::g_state.strings.field.last;

const char* FieldBuffer() { return internal::g_state.strings.field.buffer; }

namespace internal {
namespace {

// One bit per byte of an aligned block: set where the byte is `c` or zero.
__attribute__((target("sse2"))) inline uint32_t ByteOrZero(const char* block, __m128i c) {
  const __m128i bytes = LoadBlock(block);
  const __m128i hits =
      _mm_or_si128(_mm_cmpeq_epi8(bytes, c), _mm_cmpeq_epi8(bytes, _mm_setzero_si128()));
  return static_cast<uint32_t>(_mm_movemask_epi8(hits));
}

// The first `c` or zero byte at or after p. Reads whole aligned blocks (see LoadBlock).
__attribute__((target("sse2"), no_sanitize("address"))) const char* FindByteOrZero(const char* p,
                                                                                   char c) {
  const __m128i wanted = _mm_set1_epi8(c);
  const char* block = AlignDown(p);
  uint32_t mask = ByteOrZero(block, wanted) >> (p - block);
  if (mask != 0) return p + LowestBit(mask);
  for (;;) {
    block += 16;
    mask = ByteOrZero(block, wanted);
    if (mask != 0) return block + LowestBit(mask);
  }
}

// A field loses one trailing comma and then one trailing double quote, never more than it has
// (counted without branches: a quoted field's end is no pattern to predict).
FieldSpan Trimmed(const char* start, const char* end) {
  end -= end > start && end[-1] == ',';
  end -= end > start && end[-1] == '"';
  return {start, static_cast<int32_t>(end - start)};
}

// A quoted comma field at p (its opening quote): its text starts after the quote, and the
// walk goes on after the closing quote (or at the terminator of an unclosed one).
const char* SkipQuoted(const char*& p) {
  const char* start = p + 1;
  const char* close = FindByteOrZero(start, '"');
  p = *close == '"' ? close + 1 : close;
  return start;
}

// The walk's window and its masks, one bit per byte: 64 bytes where a register holds 64 bits;
// on i686, where a 64-bit mask takes two registers and each step on it two instructions, 32.
#if defined(__i386__)
using Mask = uint32_t;
#else
using Mask = uint64_t;
#endif
constexpr uint32_t kWindowBytes = 8 * sizeof(Mask);
constexpr int kWindowBlocks = kWindowBytes / 16;

inline uint32_t LowestMaskBit(Mask mask) {
  return sizeof(Mask) == 8 ? LowestBit64(mask) : LowestBit(static_cast<uint32_t>(mask));
}

inline const char* AlignDownToWindow(const char* p) {
  return reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(p) &
                                       ~uintptr_t{kWindowBytes - 1});
}

// The mask of a window's compare results (the top bit of each byte), the first block's lowest.
__attribute__((target("sse2"))) inline Mask WindowMask(const __m128i* b) {
  if constexpr (kWindowBlocks == 4) {
    return static_cast<Mask>(RunMask(b[0], b[1], b[2], b[3]));
  } else {
    return static_cast<Mask>(static_cast<uint32_t>(_mm_movemask_epi8(b[0])) |
                             static_cast<uint32_t>(_mm_movemask_epi8(b[1])) << 16);
  }
}

// A window from a boundary of its size (whole aligned blocks, so never two pages): `hits`
// where the byte is the separator or zero, and for the quoted kind `quotes` where it is a
// double quote before the window's first zero byte. Bits below `from` (an offset into the
// window) are clear in both.
struct Window {
  Mask hits;
  Mask quotes;
};

template <bool quoted>
__attribute__((target("sse2"), no_sanitize("address"))) inline Window ReadWindow(const char* window,
                                                                                 __m128i separator,
                                                                                 uint32_t from) {
  const __m128i zero = _mm_setzero_si128();
  __m128i blocks[kWindowBlocks];
  __m128i zeros[kWindowBlocks];
  __m128i hits[kWindowBlocks];
  for (int i = 0; i < kWindowBlocks; ++i) {
    blocks[i] = LoadBlock(window + 16 * ptrdiff_t{i});
    zeros[i] = _mm_cmpeq_epi8(blocks[i], zero);
    hits[i] = _mm_or_si128(_mm_cmpeq_epi8(blocks[i], separator), zeros[i]);
  }
  const Mask keep = ~Mask{0} << from;
  Window w;
  w.hits = WindowMask(hits) & keep;
  w.quotes = 0;
  if (quoted) {
    const __m128i quote = _mm_set1_epi8('"');
    const Mask zeroBits = WindowMask(zeros) & keep;
    __m128i quotes[kWindowBlocks];
    for (int i = 0; i < kWindowBlocks; ++i) quotes[i] = _mm_cmpeq_epi8(blocks[i], quote);
    // Quotes after the terminator are stale bytes, not the text's.
    w.quotes = WindowMask(quotes) & keep & ((zeroBits & (0 - zeroBits)) - 1);
  }
  return w;
}

// The separators of a window that are not inside quoted fields. A field that begins with a
// double quote (after a separator, or at the bit of `begins`) runs to the next double quote:
// the separators between them are text. Sets `openers` to the quotes that open fields, and
// `pending` to the one whose closing quote lies beyond the window (0 if none), whose
// separators are then left out from it on.
inline Mask SeparatorsOutsideQuotes(Mask hits, Mask quotes, Mask begins, Mask& openers,
                                    Mask& pending) {
  openers = 0;
  pending = 0;
  Mask candidates = quotes & ((hits << 1) | begins);
  while (candidates != 0) {
    const Mask open = candidates & (0 - candidates);
    openers |= open;
    const Mask after = quotes & ~((open << 1) - 1);
    if (after == 0) {
      pending = open;
      return hits & (open - 1);
    }
    const Mask close = after & (0 - after);
    hits &= ~(close - open);
    candidates = quotes & (hits << 1) & ~((close << 1) - 1);
  }
  return hits;
}

// One forward walk over windows, visiting only separators and the terminator. With
// `quoted`, a field that begins with a double quote runs to the next double quote: each
// window's separators inside quoted fields are cleared first, and only a quoted field that
// closes beyond its window is walked byte by byte.
template <bool quoted>
__attribute__((target("sse2"), no_sanitize("address"))) FieldSpan FindField(const char* text,
                                                                            char separator,
                                                                            uint32_t field) {
  const __m128i wanted = _mm_set1_epi8(separator);
  const char* p = text;
  const char* start = p;
  uint32_t passed = 0;
  for (;;) {
    // From p on: p's window at or after p, then whole windows. `begins` marks the window byte
    // at which the current field begins, where that byte is p or the window's first.
    const char* window = AlignDownToWindow(p);
    Window w = ReadWindow<quoted>(window, wanted, static_cast<uint32_t>(p - window));
    Mask begins = p == text ? Mask{1} << (p - window) : 0;
    for (;;) {
      Mask openers = 0;
      Mask pending = 0;
      Mask hits = w.hits;
      if (quoted) {
        hits = SeparatorsOutsideQuotes(hits, w.quotes, begins, openers, pending);
        start += (openers & begins) != 0;  // the current field opens with a quote
      }
      const Mask separators = hits;
      while (hits != 0) {
        const uint32_t at = LowestMaskBit(hits);
        const char* hit = window + at;
        if (*hit == '\0') {
          if (passed != field) return {nullptr, 0};
          return Trimmed(start, hit);
        }
        if (passed == field) return Trimmed(start, hit);
        ++passed;
        start = hit + 1 + ((openers >> at) >> 1 & 1);
        hits &= hits - 1;
      }
      if (quoted && pending != 0) {
        p = window + LowestMaskBit(pending);
        start = SkipQuoted(p);
        break;  // go on from p, which may lie in a later window
      }
      begins = separators >> (kWindowBytes - 1);
      window += kWindowBytes;
      w = ReadWindow<quoted>(window, wanted, 0);
    }
  }
}

// Copies `length` bytes of a field into the buffer and ends them with a zero. A field of
// fewer than 16 bytes whose 16 bytes from its start lie in one 4 KiB page (so in pages the
// element occupies) moves as one unaligned block; the terminator then overwrites what came
// after the field, within the buffer.
__attribute__((target("sse2"), no_sanitize("address"))) void CopyField(char* buffer,
                                                                       const char* start,
                                                                       int32_t length) {
  static_assert(kFieldBufferSize >= 16);
  if (length < 16 && (reinterpret_cast<uintptr_t>(start) & 4095) <= 4096 - 16) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(buffer), LoadUnaligned(start));
  } else {
    std::memcpy(buffer, start, static_cast<size_t>(length));
  }
  buffer[length] = '\0';
}

}  // namespace

FieldSpan FindTabField(const char* text, uint32_t field) {
  return FindField<false>(text, '\t', field);
}

FieldSpan FindCommaField(const char* text, uint32_t field) {
  return FindField<true>(text, ',', field);
}

TextRecord ExtractField(ElementRecord* record, uint32_t field, FieldKind kind) {
  const FieldSpan span = kind == FieldKind::kTab ? FindTabField(record->text, field)
                                                 : FindCommaField(record->text, field);
  if (span.start == nullptr) return {EmptyText, 0};
  FieldArea& area = g_state.strings.field;
  area.last = {record, record->text, record->length, span.start, span.length};
  // A longer field is cut so that it and its terminator fit the buffer.
  const int32_t length = span.length < kFieldBufferSize - 1 ? span.length : kFieldBufferSize - 1;
  CopyField(area.buffer, span.start, length);
  return {area.buffer, length};
}

}  // namespace internal
}  // namespace corvala
