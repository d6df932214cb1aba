#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "runtime/core/state.h"
#include "runtime/core/words.h"
#include "runtime/strings/search_forward.h"
#include "runtime/strings/search_wide.h"
#include "runtime/strings/simd.h"

namespace corvala {

int32_t& LastFoundPosition = internal::g_state.strings.lastFoundPosition;

namespace {

using internal::AlignDown;
using internal::AlignDown64;
using internal::g_state;
using internal::LoadBlock;
using internal::LoadUnaligned;
using internal::LowestBit;
using internal::LowestBit64;
using internal::RunMask;
using Byte = unsigned char;

// Two zero bytes: an empty byte or wide text, for a slot that holds no text.
alignas(2) const char kNoText[2] = {0, 0};

const char* SlotText(const TempSlot* slot) { return slot->text != nullptr ? slot->text : kNoText; }

struct Arguments {
  const char* text;
  const char* pattern;
};

// Slot references: one stands for the current slot; with two, the text is the previous
// slot's and the ring steps back, so that the pattern's slot is the next to be reused.
Arguments Resolve(TextArg text, TextArg pattern) {
  if (text.IsSmall() && pattern.IsSmall()) {
    const char* current = SlotText(SelectTempSlot(kSlotCurrent));
    return {SlotText(SelectTempSlot(kSlotBack)), current};
  }
  if (text.IsSmall()) return {SlotText(SelectTempSlot(kSlotCurrent)), pattern.bytes()};
  if (pattern.IsSmall()) return {text.bytes(), SlotText(SelectTempSlot(kSlotCurrent))};
  return {text.bytes(), pattern.bytes()};
}

// A pattern of two or more bytes and how its bytes compare.
struct BytePattern {
  const Byte* bytes;
  Byte firstMask;  // 32 when the first byte ignores case
  Byte restMask;   // 32 when every other byte does
  bool wholeWord;
};

BytePattern MakePattern(const Byte* pattern, uint32_t flags) {
  const Byte rest = (flags & FindIgnoreCase) != 0 ? 32 : 0;
  const Byte first = (flags & (FindIgnoreCase | FindFirstIgnoreCase)) != 0 ? 32 : 0;
  // A pattern that starts with a control byte, a space or a byte from 128 up is not a word.
  const bool word = (flags & FindWholeWord) != 0 && pattern[0] > 32 && pattern[0] < 128;
  return {pattern, first, rest, word};
}

// From the second byte on (the filter only saw two bytes, and the text's terminator may have
// passed it as a folded space), then the word boundaries: bytes above 64 are word bytes.
inline bool RestMatches(const Byte* text, const Byte* candidate, const BytePattern& p) {
  const Byte* t = candidate + 1;
  for (const Byte* q = p.bytes + 1; *q != 0; ++q, ++t) {
    if (*t == 0 || (*t | p.restMask) != (*q | p.restMask)) return false;
  }
  return !p.wholeWord || (*t <= 64 && (candidate == text || candidate[-1] <= 64));
}

inline bool MatchesAt(const Byte* text, const Byte* candidate, const BytePattern& p) {
  return (candidate[0] | p.firstMask) == (p.bytes[0] | p.firstMask) &&
         (candidate[1] | p.restMask) == (p.bytes[1] | p.restMask) &&
         RestMatches(text, candidate, p);
}

// The pattern's first two bytes (with their masks) in every byte of a vector.
struct PairFilter {
  __m128i firstMask, restMask, first, second;
};

// A byte per candidate position: set where the first two pattern bytes match. `following`
// holds the bytes one position further on. Exact searches skip the masks.
template <bool kMasked>
__attribute__((target("sse2"))) inline __m128i Candidates(__m128i bytes, __m128i following,
                                                          const PairFilter& f) {
  if constexpr (kMasked) {
    bytes = _mm_or_si128(bytes, f.firstMask);
    following = _mm_or_si128(following, f.restMask);
  }
  return _mm_and_si128(_mm_cmpeq_epi8(bytes, f.first), _mm_cmpeq_epi8(following, f.second));
}

__attribute__((target("sse2"))) inline uint32_t Bits(__m128i v) {
  return static_cast<uint32_t>(_mm_movemask_epi8(v));
}

// Sixteen candidates a block: the first-byte and second-byte tests as bit masks, the second
// borrowing bit 0 of the next block, which is read only when this one holds no terminator.
// While nothing turns up, four blocks at a time: they lie in one aligned 64-byte run, and the
// bytes after it are read only when the run holds no terminator. So whole aligned blocks are
// read (before `from`, past the terminator), but never a page the text does not occupy.
template <bool kMasked>
__attribute__((target("sse2"), no_sanitize("address"))) const Byte* SearchForward(
    const Byte* text, const Byte* from, const BytePattern& p) {
  const __m128i zero = _mm_setzero_si128();
  const PairFilter f = {_mm_set1_epi8(static_cast<char>(p.firstMask)),
                        _mm_set1_epi8(static_cast<char>(p.restMask)),
                        _mm_set1_epi8(static_cast<char>(p.bytes[0] | p.firstMask)),
                        _mm_set1_epi8(static_cast<char>(p.bytes[1] | p.restMask))};
  const Byte* block = AlignDown(from);
  uint32_t valid = (0xFFFFu << (from - block)) & 0xFFFFu;
  for (;; block += 16, valid = 0xFFFFu) {
    if (valid == 0xFFFFu && (reinterpret_cast<uintptr_t>(block) & 63) == 0) {
      for (;; block += 64) {
        __m128i b0 = LoadBlock(block), b1 = LoadBlock(block + 16);
        __m128i b2 = LoadBlock(block + 32), b3 = LoadBlock(block + 48);
        __m128i lowest = _mm_min_epu8(_mm_min_epu8(b0, b1), _mm_min_epu8(b2, b3));
        if (Bits(_mm_cmpeq_epi8(lowest, zero)) != 0) break;
        __m128i found =
            _mm_or_si128(_mm_or_si128(Candidates<kMasked>(b0, LoadUnaligned(block + 1), f),
                                      Candidates<kMasked>(b1, LoadUnaligned(block + 17), f)),
                         _mm_or_si128(Candidates<kMasked>(b2, LoadUnaligned(block + 33), f),
                                      Candidates<kMasked>(b3, LoadUnaligned(block + 49), f)));
        if (Bits(found) != 0) break;
      }
    }
    __m128i current = LoadBlock(block);
    uint32_t zeros = Bits(_mm_cmpeq_epi8(current, zero)) & valid;
    uint32_t firsts = Bits(_mm_cmpeq_epi8(_mm_or_si128(current, f.firstMask), f.first));
    uint32_t seconds = Bits(_mm_cmpeq_epi8(_mm_or_si128(current, f.restMask), f.second));
    if (zeros == 0) {
      __m128i next = LoadBlock(block + 16);
      seconds |= Bits(_mm_cmpeq_epi8(_mm_or_si128(next, f.restMask), f.second)) << 16;
    }
    uint32_t candidates = firsts & (seconds >> 1) & valid;
    if (zeros != 0) candidates &= (zeros & (0u - zeros)) - 1;  // only before the terminator
    for (; candidates != 0; candidates &= candidates - 1) {
      const Byte* candidate = block + LowestBit(candidates);
      if (RestMatches(text, candidate, p)) return candidate;
    }
    if (zeros != 0) return nullptr;
  }
}

// Candidates from two bytes before `before` down to the text's start.
const Byte* SearchBackward(const Byte* text, ptrdiff_t before, const BytePattern& p) {
  for (ptrdiff_t c = before - 2; c >= 0; --c) {
    if (MatchesAt(text, text + c, p)) return text + c;
  }
  return nullptr;
}

// The first `byte` among at most `count` bytes from `from`; a terminator ends the scan early.
// Whole aligned blocks, as in SearchForward.
__attribute__((target("sse2"), no_sanitize("address"))) const Byte* ScanForward(const Byte* from,
                                                                                uint32_t count,
                                                                                Byte byte) {
  if (count == 0) return nullptr;
  const __m128i sought = _mm_set1_epi8(static_cast<char>(byte));
  const __m128i zero = _mm_setzero_si128();
  const Byte* block = AlignDown(from);
  // Bytes left to scan from the block's start.
  uint64_t left = uint64_t{count} + static_cast<uint64_t>(from - block);
  uint32_t valid = (0xFFFFu << (from - block)) & 0xFFFFu;
  for (;; block += 16, left -= 16, valid = 0xFFFFu) {
    if (left < 16) valid &= (1u << left) - 1;
    __m128i bytes = LoadBlock(block);
    uint32_t hits = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, sought)));
    uint32_t zeros = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zero)));
    hits &= valid;
    zeros &= valid;
    if (zeros != 0) hits &= (zeros & (0u - zeros)) - 1;
    if (hits != 0) return block + LowestBit(hits);
    if (zeros != 0 || left <= 16) return nullptr;
  }
}

const Byte* ScanBackward(const Byte* text, ptrdiff_t before, Byte byte) {
  for (ptrdiff_t c = before - 1; c >= 0; --c) {
    if (text[c] == byte) return text + c;
  }
  return nullptr;
}

// A one-byte pattern is sought exactly, whatever the flags. Forward from a given start, the
// text's length is measured and kept; a continued search scans up to that length.
const Byte* FindByte(int32_t start, const Byte* text, Byte byte, uint32_t flags) {
  int32_t last = g_state.strings.lastFoundPosition;
  if ((flags & FindReverse) != 0) {
    ptrdiff_t before =
        start > 0    ? start - 1
        : start == 0 ? last - 1  // the byte before the previous match
                     : static_cast<ptrdiff_t>(TextLength(reinterpret_cast<const char*>(text)));
    return ScanBackward(text, before, byte);
  }
  if (start != 0) {
    // Kept as the text's whole length, so that a continued search reaches the end of the
    // text whatever position the first search began at.
    const int32_t skipped = start > 0 ? start - 1 : 0;
    uint32_t length = TextLength(reinterpret_cast<const char*>(text + skipped));
    g_state.strings.lastSearchLength = skipped + static_cast<int32_t>(length);
    return ScanForward(text + skipped, length, byte);
  }
  int32_t count = g_state.strings.lastSearchLength - last;
  if (count <= 0) return nullptr;
  return ScanForward(text + last, static_cast<uint32_t>(count), byte);
}

const Byte* FindBytes(int32_t start, const Byte* text, const Byte* pattern, uint32_t flags) {
  const BytePattern p = MakePattern(pattern, flags);
  int32_t last = g_state.strings.lastFoundPosition;
  if ((flags & FindReverse) != 0) {
    ptrdiff_t before =
        start > 0    ? start - 1
        : start == 0 ? last
                     : static_cast<ptrdiff_t>(TextLength(reinterpret_cast<const char*>(text)));
    return SearchBackward(text, before, p);
  }
  const Byte* from = text + (start > 0 ? start - 1 : start == 0 ? last : 0);
  return (p.firstMask | p.restMask) != 0 ? SearchForward<true>(text, from, p)
                                         : SearchForward<false>(text, from, p);
}

// Zero in each byte that, with the first byte's mask, is the pattern's first byte, and in
// each zero byte; not zero elsewhere.
template <bool kMasked>
__attribute__((target("sse2"))) inline __m128i FirstOrZero(__m128i bytes, __m128i mask,
                                                           __m128i first) {
  __m128i folded = kMasked ? _mm_or_si128(bytes, mask) : bytes;
  // Zero where folded equals first, or where the byte itself is zero.
  return _mm_min_epu8(_mm_xor_si128(folded, first), bytes);
}

// One bit per byte of an aligned 64-byte run, from FirstOrZero's four blocks: set where the
// byte is the pattern's first byte or the terminator.
__attribute__((target("sse2"))) inline uint64_t RunBits(__m128i b0, __m128i b1, __m128i b2,
                                                        __m128i b3) {
  const __m128i zero = _mm_setzero_si128();
  return RunMask(_mm_cmpeq_epi8(b0, zero), _mm_cmpeq_epi8(b1, zero), _mm_cmpeq_epi8(b2, zero),
                 _mm_cmpeq_epi8(b3, zero));
}

// Lists as ListOccurrences does. Only the pattern's first byte and the terminator are tested,
// 64 bytes a step while nothing turns up (four aligned loads, one movemask); the bits of a run
// that holds candidates are then worked through in place, one match after another, without
// starting the scan again. Whole aligned 64-byte runs are read, before the text's start and
// past its terminator; a run never crosses a page, and the next one is read only when this
// one holds no terminator.
template <bool kMasked>
__attribute__((target("sse2"), no_sanitize("address"))) internal::OccurrenceList ListMatches(
    const Byte* text, const BytePattern& p, uint32_t limit, char* entries, uint32_t room) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i mask = _mm_set1_epi8(static_cast<char>(p.firstMask));
  const __m128i first = _mm_set1_epi8(static_cast<char>(p.bytes[0] | p.firstMask));
  const size_t length = TextLength(reinterpret_cast<const char*>(p.bytes));
  internal::OccurrenceList list{0, nullptr, nullptr};
  const Byte* run = AlignDown64(text);
  const Byte* next = text;  // no match starts before this
  uint64_t hits = RunBits(FirstOrZero<kMasked>(LoadBlock(run), mask, first),
                          FirstOrZero<kMasked>(LoadBlock(run + 16), mask, first),
                          FirstOrZero<kMasked>(LoadBlock(run + 32), mask, first),
                          FirstOrZero<kMasked>(LoadBlock(run + 48), mask, first)) &
                  (~uint64_t{0} << (text - run));
  for (;;) {
    for (; hits != 0; hits &= hits - 1) {
      const Byte* candidate = run + LowestBit64(hits);
      if (*candidate == 0) {
        list.terminator = reinterpret_cast<const char*>(candidate);
        return list;
      }
      // A match's bytes are never zero, so the terminator is never skipped here.
      if (candidate < next || !RestMatches(text, candidate, p)) continue;
      if (list.count == room) {
        list.unlisted = reinterpret_cast<const char*>(candidate);
        return list;
      }
      internal::StorePointer(entries + size_t{list.count} * sizeof(Word), candidate);
      if (++list.count == limit) return list;
      next = candidate + length;
    }
    for (;;) {
      run += 64;
      __m128i b0 = FirstOrZero<kMasked>(LoadBlock(run), mask, first);
      __m128i b1 = FirstOrZero<kMasked>(LoadBlock(run + 16), mask, first);
      __m128i b2 = FirstOrZero<kMasked>(LoadBlock(run + 32), mask, first);
      __m128i b3 = FirstOrZero<kMasked>(LoadBlock(run + 48), mask, first);
      __m128i lowest = _mm_min_epu8(_mm_min_epu8(b0, b1), _mm_min_epu8(b2, b3));
      if (Bits(_mm_cmpeq_epi8(lowest, zero)) != 0) {
        hits = RunBits(b0, b1, b2, b3);
        break;
      }
    }
  }
}

FoundText Result(const char* text, const char* match, size_t unitSize) {
  int32_t position = match != nullptr ? static_cast<int32_t>((match - text) / unitSize) + 1 : 0;
  g_state.strings.lastFoundPosition = position;
  return {match, position};
}

}  // namespace

namespace internal {

OccurrenceList ListOccurrences(const char* text, const char* pattern, uint32_t flags,
                               uint32_t limit, char* entries, uint32_t room) {
  const Byte* sought = reinterpret_cast<const Byte*>(pattern);
  // One byte is sought exactly, as in FindText.
  const BytePattern p =
      sought[1] == 0 ? BytePattern{sought, 0, 0, false} : MakePattern(sought, flags);
  const Byte* bytes = reinterpret_cast<const Byte*>(text);
  return p.firstMask != 0 ? ListMatches<true>(bytes, p, limit, entries, room)
                          : ListMatches<false>(bytes, p, limit, entries, room);
}

}  // namespace internal

FoundText FindText(int32_t start, TextArg text, TextArg pattern, uint32_t flags) {
  const Arguments args = Resolve(text, pattern);
  if ((flags & FindWide) != 0) {
    const char16_t* wideText = reinterpret_cast<const char16_t*>(args.text);
    const char16_t* match = internal::FindWideText(
        start, wideText, reinterpret_cast<const char16_t*>(args.pattern), flags);
    return Result(args.text, reinterpret_cast<const char*>(match), sizeof(char16_t));
  }
  const Byte* bytes = reinterpret_cast<const Byte*>(args.text);
  const Byte* sought = reinterpret_cast<const Byte*>(args.pattern);
  const Byte* match = nullptr;
  if (sought[0] == 0) {
    match = nullptr;  // an empty pattern is a miss
  } else if (sought[1] == 0) {
    match = FindByte(start, bytes, sought[0], flags);
  } else {
    match = FindBytes(start, bytes, sought, flags);
  }
  return Result(args.text, reinterpret_cast<const char*>(match), 1);
}

}  // namespace corvala
