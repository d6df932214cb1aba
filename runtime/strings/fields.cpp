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

// A field loses one trailing comma and then one trailing double quote, never more than it has.
FieldSpan Trimmed(const char* start, const char* end) {
  if (end > start && end[-1] == ',') --end;
  if (end > start && end[-1] == '"') --end;
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

// One forward walk over aligned blocks, visiting only separators and the terminator. With
// `quoted`, a field that begins with a double quote runs to the next double quote.
template <bool quoted>
__attribute__((target("sse2"), no_sanitize("address"))) FieldSpan FindField(const char* text,
                                                                            char separator,
                                                                            uint32_t field) {
  const __m128i wanted = _mm_set1_epi8(separator);
  const char* p = text;
  const char* start = quoted && *p == '"' ? SkipQuoted(p) : p;
  uint32_t passed = 0;
  for (;;) {
    // From p on: the hits of p's block at or after p, then whole blocks.
    const char* block = AlignDown(p);
    uint32_t mask = ByteOrZero(block, wanted) & (~0u << (p - block));
    for (;;) {
      while (mask == 0) {
        block += 16;
        mask = ByteOrZero(block, wanted);
      }
      const char* hit = block + LowestBit(mask);
      if (*hit == '\0') {
        if (passed != field) return {nullptr, 0};
        return Trimmed(start, hit);
      }
      if (passed == field) return Trimmed(start, hit);
      ++passed;
      p = hit + 1;  // within the text: the separator is not its terminator
      if (quoted && *p == '"') {
        start = SkipQuoted(p);
        break;  // go on from p, which may lie in a later block
      }
      start = p;
      mask &= mask - 1;
    }
  }
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
  std::memcpy(area.buffer, span.start, static_cast<size_t>(length));
  area.buffer[length] = '\0';
  return {area.buffer, length};
}

}  // namespace internal
}  // namespace corvala
