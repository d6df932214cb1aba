#include "runtime/numbers/text_to_number.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

#include "corvala/core.h"
#include "corvala/numbers.h"
#include "runtime/core/state.h"
#include "runtime/numbers/fpu_mode.h"
#include "runtime/numbers/number_dispatch.h"
#include "runtime/numbers/powers_of_ten.h"
#include "runtime/numbers/round_down_double.h"
#include "runtime/numbers/x87.h"

namespace corvala {
namespace {

using internal::g_state;

constexpr int32_t kLowestScale = -143;
constexpr int32_t kHighestScale = 141;
constexpr int kShortMantissa = 9;  // characters read by the first mantissa rules
constexpr int kMaxHexDigits = 16;
constexpr int kPlainDigits = 18;   // a plain integer of up to 18 digits is below 2^63
constexpr int kExactDigits = 19;   // a mantissa of up to 19 digits is below 2^64
constexpr int kShortExponent = 4;  // exponent digits read by the one-pass decimal reading

enum class Notation { kDecimal = 0, kBinary = 1, kHex = 2 };

// What the text said, before it is stored.
struct Reading {
  bool ok = false;
  Notation notation = Notation::kDecimal;
  const char* end = nullptr;  // the character that ended the number
  bool exact = true;          // the value is `integer`; otherwise `value`
  int64_t integer = 0;
  long double value = 0;
  bool rounded = false;     // the double to store is known already: its bits are `doubleBits`
  uint64_t doubleBits = 0;  // (kept as an integer, never in an x87 register)
};

Reading Unreadable() { return Reading{}; }

Reading Exact(Notation notation, const char* end, int64_t integer) {
  Reading r;
  r.ok = true;
  r.notation = notation;
  r.end = end;
  r.integer = integer;
  return r;
}

bool AtMostSpace(char c) { return static_cast<signed char>(c) <= ' '; }

// Skips blanks (every byte at most space read as signed: 0x01 to 0x20, 0x80 to 0xFF) and
// zeros. A blank or the end right after a skipped zero makes the number zero.
struct Lead {
  const char* start;    // the number text, or null
  const char* zeroEnd;  // with no number text: where a zero ended, or null for an error
};
Lead LeadingScan(const char* p, const char* text) {
  for (;;) {
    char c = *p;
    if (c == '0') {
      ++p;
    } else if (AtMostSpace(c)) {
      bool afterZero = p > text && p[-1] == '0';
      if (afterZero || c == '\0') return {nullptr, afterZero ? p : nullptr};
      ++p;
    } else {
      return {p, nullptr};
    }
  }
}

Reading ReadBinary(const char* start, const char* text) {
  const char* p = start;
  uint32_t v = 0;
  while (*p == '0' || *p == '1') v = v * 2 + static_cast<uint32_t>(*p++ - '0');
  // At least one binary digit (or a skipped zero, as in "0b"), then the suffix itself.
  if (p == text || (p[-1] != '0' && p[-1] != '1')) return Unreadable();
  char c = *p;
  if (c != 'b' && c != 'B' && c != 'y' && c != 'Y') return Unreadable();
  return Exact(Notation::kBinary, p, static_cast<int32_t>(v));
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

Reading ReadHex(const char* from, const char* text) {
  const char* p = from;
  uint64_t v = 0;
  int digits = 0;
  for (;; ++p) {
    char c = *p;
    if (static_cast<unsigned char>(c) < '0' || c == 'h' || c == 'H') break;
    int d = HexValue(c);
    if (d < 0 || digits == kMaxHexDigits) return Unreadable();
    v = v * 16 + static_cast<uint64_t>(d);
    ++digits;
  }
  // No digits: zero after a skipped zero ("0h"), otherwise nothing was read ("0x").
  if (digits == 0 && (p == text || p[-1] != '0')) return Unreadable();
  return Exact(Notation::kHex, p, static_cast<int64_t>(v));
}

// Decimal accumulation "v := 10v + digit" in extended precision is exact while v stays
// below 2^64, so it runs on a 64-bit integer until then and on the x87 unit only beyond.
constexpr uint64_t kExactLimit = (UINT64_MAX - 9) / 10;

class DecimalReader {
 public:
  DecimalReader(std::optional<internal::RoundDownMode>& mode) : mode_(mode) {}

  // start: the number text; afterPoint: the character after its first point, or null.
  Reading Read(const char* start, const char* afterPoint, bool negative, int32_t kind) {
    const uint8_t* digitClass = g_state.numbers.digitDispatch;
    const char* p = start;
    if (*p == '-' || *p == '+') ++p;  // the sign counts as a character read
    const char* const shortEnd = start + kShortMantissa;
    const char* marker = nullptr;
    bool longMantissa = false;
    // The first nine characters: digits, then points and commas skipped, an exponent
    // marker, or the end.
    for (;; ++p) {
      if (p == shortEnd) {
        longMantissa = true;
        break;
      }
      uint32_t d = static_cast<unsigned char>(*p) - uint32_t{'0'};
      if (d < 10) {
        v_ = v_ * 10 + d;
        continue;
      }
      uint8_t cls = digitClass[static_cast<unsigned char>(*p)];
      if (cls == internal::kDigitSkip) continue;
      if (cls == internal::kDigitExponent) marker = p;
      break;
    }
    if (longMantissa) {
      // From the tenth character on: commas and other bytes below "0" (points among them)
      // are skipped, a blank ends the mantissa, and any byte above "9" is the exponent
      // marker. A ")" ends it too, so that a long number in parentheses keeps its count
      // and its value.
      for (;; ++p) {
        char c = *p;
        if (c >= '0' && c <= '9') {
          AddDigit(static_cast<uint32_t>(c - '0'));
        } else if (AtMostSpace(c) || c == ')') {
          break;
        } else if (c > '9') {
          marker = p;
          break;
        }
      }
    }
    const char* mantissaEnd = p;

    // Characters after the first point up to the end of the mantissa (further points and
    // commas count); a point beyond the mantissa's end is not part of it.
    bool pointSeen = afterPoint != nullptr && afterPoint <= mantissaEnd;
    int64_t scale = pointSeen ? -(mantissaEnd - afterPoint) : 0;
    const char* end = mantissaEnd;
    if (marker != nullptr) {
      const char* q = marker + 1;
      char signChar = *q;
      while (*q == '+' || *q == '-') ++q;
      int64_t exponent = 0;
      for (; *q >= '0' && *q <= '9'; ++q) {
        if (exponent < 1000000) exponent = exponent * 10 + (*q - '0');
      }
      scale += signChar == '-' ? -exponent : exponent;
      end = q;
    } else if (!pointSeen && !floating_ && kind == kNumberInt32) {
      // An integer: what adding just under one half and converting to 64 bits gives, without
      // the floating-point unit (from 2^63 on, the integer indefinite).
      int64_t integer = v_ > uint64_t{INT64_MAX} ? INT64_MIN : static_cast<int64_t>(v_);
      if (negative && integer != INT64_MIN) integer = -integer;
      return Exact(Notation::kDecimal, end, integer);
    }

    if (scale < kLowestScale || scale > kHighestScale) return Unreadable();
    Enter();
    long double x = floating_ ? x_ : static_cast<long double>(v_);
    if (pointSeen || marker != nullptr) {
      x = internal::X87Mul(x, internal::PowerOfTen(static_cast<int32_t>(scale)));
    }
    if (negative) x = -x;
    Reading r;
    r.ok = true;
    r.notation = Notation::kDecimal;
    r.end = end;
    r.exact = false;
    r.value = x;
    return r;
  }

 private:
  void AddDigit(uint32_t d) {
    if (!floating_ && v_ <= kExactLimit) {
      v_ = v_ * 10 + d;
      return;
    }
    if (!floating_) {
      Enter();
      x_ = static_cast<long double>(v_);
      floating_ = true;
    }
    x_ = internal::X87TimesTenPlus(x_, static_cast<int32_t>(d));
  }
  void Enter() {
    if (!mode_) mode_.emplace();
  }
  std::optional<internal::RoundDownMode>& mode_;
  uint64_t v_ = 0;
  bool floating_ = false;
  long double x_ = 0;
};

// The usual decimal text in one pass: digits with a point, an exponent or both ("-1234.5678",
// "3.14159265e-07", "6e23"), at most 19 digits in all, and an end of a number text after it.
// Such a text reads on the full way as its digits, exact as an integer, times one power of
// ten; this gives the double that the full way stores for it. `digits` to `integerEnd` is the
// run of digits after the optional sign and `v` its value. False for any other text.
bool ReadPlainDecimal(const char* start, const char* digits, const char* integerEnd, uint64_t v,
                      Reading& r) {
  const char* p = integerEnd;
  int32_t scale = 0;
  const bool point = *p == '.';
  if (point) {
    const char* const fraction = ++p;
    for (uint32_t d; (d = static_cast<unsigned char>(*p) - uint32_t{'0'}) < 10; ++p) {
      v = v * 10 + d;
    }
    if (p - fraction > kExactDigits) return false;
    scale = -static_cast<int32_t>(p - fraction);
  }
  const ptrdiff_t count = (integerEnd - digits) - scale;
  if (count == 0 || count > kExactDigits) return false;
  if (*p == 'e' || *p == 'E') {
    const char* q = p + 1;
    const bool minus = *q == '-';
    if (*q == '-' || *q == '+') ++q;
    const char* const first = q;
    int32_t exponent = 0;
    for (uint32_t d; (d = static_cast<unsigned char>(*q) - uint32_t{'0'}) < 10; ++q) {
      if (q - first == kShortExponent) return false;
      exponent = exponent * 10 + static_cast<int32_t>(d);
    }
    if (q == first) return false;
    scale += minus ? -exponent : exponent;
    p = q;
  } else if (!point) {
    return false;
  }
  if (g_state.numbers.scanDispatch[static_cast<unsigned char>(*p)] != internal::kScanEnd ||
      scale < kLowestScale || scale > kHighestScale) {
    return false;
  }
  r.ok = true;
  r.notation = Notation::kDecimal;
  r.end = p;
  r.exact = false;
  r.rounded = true;
  r.doubleBits = internal::RoundDownProductBits(v, internal::PowerOfTen(scale), *start == '-');
  return true;
}

// The number text from the leading scan on: the first pass decides the notation, then the
// conversion reads the value.
Reading ReadNumber(const char* text, int32_t kind, bool onePass, int32_t& depth,
                   std::optional<internal::RoundDownMode>& mode) {
  const uint8_t* scanClass = g_state.numbers.scanDispatch;
  bool negative = false;
  const char* p = text;
  for (;;) {  // once per parenthesis
    Lead lead = LeadingScan(p, text);
    if (lead.start == nullptr) {
      if (lead.zeroEnd == nullptr) return Unreadable();
      return Exact(Notation::kDecimal, lead.zeroEnd, 0);
    }
    const char* start = lead.start;
    // A plain integer, the usual text, in one pass: digits after an optional sign up to the
    // end of the token read exactly as the full way reads them. A negative zero is left to
    // the full way, which keeps its sign for the floating kinds.
    const char* digits = start + (*start == '-' || *start == '+' ? 1 : 0);
    const char* q = digits;
#if defined(__i386__)
    // A 64-bit product takes three multiplications on i686: the first nine digits, below 2^32,
    // are read in 32 bits.
    uint32_t low = 0;
    for (uint32_t d; q - digits < 9 && (d = static_cast<unsigned char>(*q) - uint32_t{'0'}) < 10;
         ++q) {
      low = low * 10 + d;
    }
    uint64_t v = low;
#else
    uint64_t v = 0;
#endif
    for (uint32_t d; (d = static_cast<unsigned char>(*q) - uint32_t{'0'}) < 10; ++q) {
      v = v * 10 + d;
    }
    bool minus = negative || *start == '-';
    if (onePass && q > digits && q - digits <= kPlainDigits && (v != 0 || !minus) &&
        scanClass[static_cast<unsigned char>(*q)] == internal::kScanEnd) {
      return Exact(Notation::kDecimal, q,
                   minus ? -static_cast<int64_t>(v) : static_cast<int64_t>(v));
    }
    if (onePass && depth == 1 && (kind == kNumberDouble || kind == kNumberSseDouble)) {
      Reading r;
      if (ReadPlainDecimal(start, digits, q, v, r)) return r;
    }
    for (p = start;; ++p) {
      uint8_t cls;
      while ((cls = scanClass[static_cast<unsigned char>(*p)]) == internal::kScanContinue) ++p;
      // The usual ends first, before the dispatch on the rarer classes.
      if (cls == internal::kScanEnd)
        return DecimalReader(mode).Read(start, nullptr, negative, kind);
      char c = *p;
      // Read only for the letters, which are not the terminator.
      auto next = [p] { return static_cast<unsigned char>(p[1]); };
      switch (cls) {
        case internal::kScanContinue:
          continue;
        case internal::kScanSign:
          // A sign starts the number text; after an exponent marker it is the exponent's.
          if (p == start && c == '-') negative = true;
          continue;
        case internal::kScanExponentOrHex:
          if (next() <= ')') return Unreadable();
          continue;
        case internal::kScanBinarySuffixOrHex:
          if (AtMostSpace(static_cast<char>(next()))) return ReadBinary(start, text);
          continue;
        case internal::kScanDecimalSuffixOrHex:
          if (next() <= ')') return DecimalReader(mode).Read(start, nullptr, negative, kind);
          continue;
        case internal::kScanBinarySuffix:
          return ReadBinary(start, text);
        case internal::kScanHexSuffix:
          return ReadHex(start, text);
        case internal::kScanHexPrefix:
          if (p != start) return Unreadable();
          return ReadHex(p + 1, text);
        case internal::kScanOpen:
          ++depth;
          ++p;
          break;
        case internal::kScanPoint:
          return DecimalReader(mode).Read(start, p + 1, negative, kind);
        case internal::kScanEnd:
          return DecimalReader(mode).Read(start, nullptr, negative, kind);
        default:
          return Unreadable();
      }
      break;  // an open parenthesis: scan again after it
    }
  }
}

// Characters used, counted from the source address.
int32_t Count(const Reading& r, const char* text, int32_t depth) {
  const char* end = r.end;
  if (depth > 1) {
    // Up to the first ")" from the end on, and the closing parentheses after it, never
    // past the terminator.
    const char* q = end;
    while (*q != '\0' && *q != ')') ++q;
    if (*q != '\0') {
      ++q;
      for (int32_t i = 2; i < depth && *q != '\0'; ++i) ++q;
    }
    return static_cast<int32_t>(q - text);
  }
  int32_t k = static_cast<int32_t>(end - text);
  unsigned char c = static_cast<unsigned char>(*end);
  if (r.notation == Notation::kBinary) {
    // The suffix, and one more for a letter from "d" on after it.
    return k + 1 + (static_cast<unsigned char>(end[1]) >= 'd' ? 1 : 0);
  }
  // A letter from "d" on ends the number as a suffix ("d", "h", but also "f"); so do the
  // upper-case suffixes "D" and "H".
  bool suffix = c >= 'd' || (r.notation == Notation::kDecimal && c == 'D') ||
                (r.notation == Notation::kHex && c == 'H');
  return k + (suffix ? 1 : 0);
}

bool SseRegisterNumber(Word code, int32_t& n) {
  if (code - kSseRegisterCode >= static_cast<Word>(internal::kSseRegisterCount)) return false;
  n = static_cast<int32_t>(code - kSseRegisterCode);
  return true;
}

// A double already rounded, by its bits, at its destination address or in the SSE register
// the destination names.
void StoreRounded(uint64_t bits, Word destination, int32_t kind) {
  int32_t n = 0;
  if (kind == kNumberDouble) {
    std::memcpy(reinterpret_cast<void*>(destination), &bits, sizeof bits);
  } else if (SseRegisterNumber(destination, n)) {
    LoadSseLow(n, &bits);
  }
}

// Stores the reading by kind; returns the value for kind 0.
int32_t Store(const Reading& r, Word destination, int32_t kind,
              std::optional<internal::RoundDownMode>& mode) {
  if (kind == kNumberInt32 && r.exact) return static_cast<int32_t>(r.integer);
  if (r.rounded) {  // only for the double kinds
    StoreRounded(r.doubleBits, destination, kind);
    return 0;
  }
  if (kind < 0 || kind > static_cast<int32_t>(kNumberSseInt64Alt)) return 0;
  if (!mode) mode.emplace();
  long double x = r.exact ? static_cast<long double>(r.integer) : r.value;
  void* at = reinterpret_cast<void*>(destination);
  int32_t n = 0;
  switch (kind) {
    case kNumberInt32:
      // Half rounds down: 1.5 gives 1, -1.5 gives -2.
      return static_cast<int32_t>(
          internal::X87ToInt64(internal::X87Add(x, internal::RoundingAddend())));
    case kNumberSingle: {
      float f = internal::X87ToSingle(x);
      std::memcpy(at, &f, sizeof f);
      break;
    }
    case kNumberDouble: {
      double d = internal::X87ToDouble(x);
      std::memcpy(at, &d, sizeof d);
      break;
    }
    case kNumberExtended:
      std::memcpy(at, &x, 10);
      break;
    case kNumberInt64: {
      int64_t i = r.exact ? r.integer : internal::X87ToInt64(x);
      std::memcpy(at, &i, sizeof i);
      break;
    }
    case kNumberSseDouble:
      if (SseRegisterNumber(destination, n)) {
        double d = internal::X87ToDouble(x);
        LoadSseLow(n, &d);
      }
      break;
    default:  // kNumberSseInt64, kNumberSseInt64Alt
      if (SseRegisterNumber(destination, n)) {
        int64_t i = r.exact ? r.integer : internal::X87ToInt64(x);
        LoadSseLow(n, &i);
      }
      break;
  }
  return 0;
}

// The usual call in one pass: a text that starts with a plain decimal integer of up to 18
// digits after an optional sign, read to a 32-bit result. It gives what the one-pass integer
// reading and Store and Count give for it (the low 32 bits of the value) without building a
// Reading, in 32-bit arithmetic. A count of 0 (never that of a number read) sends the text the
// full way.
__attribute__((always_inline)) inline NumberReading ReadShortInt32(const char* text) {
  const char first = *text;
  const bool minus = first == '-';
  // The sign is stepped over without a branch, as random signs would defeat the predictor.
  const char* digits = text + ((minus || first == '+') ? 1 : 0);
  uint32_t low = 0;  // the value's low 32 bits
  const char* q = digits;
  // Two digits a step where there are two (the byte after a digit is still in the text).
  for (uint32_t d; (d = static_cast<unsigned char>(*q) - uint32_t{'0'}) < 10;) {
    const uint32_t next = static_cast<unsigned char>(q[1]) - uint32_t{'0'};
    if (next >= 10) {
      low = low * 10 + d;
      ++q;
      break;
    }
    low = low * 100 + (d * 10 + next);
    q += 2;
  }
  // Leading zeros and blanks go through the leading scan, and so does a leading zero after
  // "-", which may be the sign of a zero.
  if (q == digits || (*digits == '0' && (minus || digits == text)) || q - digits > kPlainDigits ||
      g_state.numbers.scanDispatch[static_cast<unsigned char>(*q)] != internal::kScanEnd) {
    return {0, 0};
  }
  // The number ends at a character of the end class, never a suffix letter to count.
  return {static_cast<int32_t>(minus ? 0u - low : low), static_cast<int32_t>(q - text)};
}

// Every text but the usual integer: the leading scan, the reading and the store. Kept out of
// line, so that the usual call does not pay for its frame.
__attribute__((noinline)) NumberReading ConvertNumberText(const char* text, Word destination,
                                                          int32_t kind, bool onePass) {
  // The rounding mode is set only once floating arithmetic is needed, and restored on return.
  std::optional<internal::RoundDownMode> mode;
  int32_t depth = 1;
  Reading r = ReadNumber(text, kind, onePass, depth, mode);
  if (!r.ok) return {kNumberUnreadable, kNumberUnreadable};
  int32_t value = Store(r, destination, kind, mode);
  int32_t count = Count(r, text, depth);
  return {value, count + static_cast<int32_t>(r.notation) * 256};
}

// A reading in one 64-bit word, the value in the low half: returned in registers on every
// target. A struct result goes through memory on i686 Linux, and passing one on makes gcc
// guard the caller's frame.
uint64_t Packed(NumberReading r) {
  return static_cast<uint32_t>(r.value) | uint64_t{static_cast<uint32_t>(r.count)} << 32;
}
NumberReading Unpacked(uint64_t word) {
  return {static_cast<int32_t>(static_cast<uint32_t>(word)),
          static_cast<int32_t>(static_cast<uint32_t>(word >> 32))};
}

// The conversion of any source and kind, out of line so that the usual call in TextToNumber
// does not pay for its frame.
__attribute__((noinline)) uint64_t Convert(TextArg source, Word destination, int32_t kind,
                                           bool onePass) {
  const char* text = nullptr;
  if (source.word() == kCurrentSlot) {
    text = SelectTempSlot(kSlotCurrent)->text;
  } else if (!source.IsSmall()) {
    text = source.bytes();
  }
  if (text == nullptr) return Packed({kNumberUnreadable, kNumberUnreadable});
  if (!internal::NumberDispatchBuilt()) {
    if (!internal::PowersOfTenBuilt()) BuildPowersOfTen();
    internal::BuildNumberDispatch();
  }
  if (onePass && kind == kNumberInt32) {
    const NumberReading quick = ReadShortInt32(text);
    if (quick.count != 0) return Packed(quick);
  }
  return Packed(ConvertNumberText(text, destination, kind, onePass));
}

}  // namespace

namespace internal {

NumberReading ConvertTextToNumber(TextArg source, Word destination, int32_t kind, bool onePass) {
  return Unpacked(Convert(source, destination, kind, onePass));
}

}  // namespace internal

NumberReading TextToNumber(TextArg source, Word destination, int32_t kind) {
  // The usual call, a plain integer text read to a 32-bit result, makes no further call. Until
  // the reader's tables are built every character reads as an error there, and the text goes
  // the full way, which builds them.
  if (kind == kNumberInt32 && !source.IsSmall()) {
    const NumberReading quick = ReadShortInt32(source.bytes());
    if (quick.count != 0) return quick;
  }
  return Unpacked(Convert(source, destination, kind, true));
}

}  // namespace corvala
