#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "corvala/numbers.h"
#include "runtime/core/state.h"
#include "runtime/core/temp_slots.h"
#include "runtime/numbers/fpu_mode.h"
#include "runtime/numbers/number_forms.h"
#include "runtime/numbers/powers_of_ten.h"
#include "runtime/numbers/x87.h"

namespace corvala {
namespace {

using internal::NumberForm;

// The longest 8-bit text: widened to UTF-16 with its terminator it still ends within the
// scratch area's text limit from any write position.
constexpr ptrdiff_t kMaxText = 79900;

constexpr int kMaxOperands = 5;
constexpr uint32_t kOperandFields = 0x3FFFFFFF;

struct Copied {
  const char* in;
  char* out;
  bool atPlaceholder;
};

// Copies format text up to its terminator (or, when asked, up to the placeholder: the first
// "%" followed by a character from 0x21 to 0x7F), turning "\t" into a tab and "\n" into
// carriage return and line feed, and writing no further than limit.
Copied CopyFormat(const char* in, char* out, const char* limit, bool findPlaceholder) {
  while (out < limit) {
    char c = *in;
    if (c == '\0') break;
    char next = in[1];  // c is not the terminator, so the next byte is still in the text
    if (c == '\\' && next == 't') {
      *out++ = '\t';
      in += 2;
    } else if (c == '\\' && next == 'n') {
      if (limit - out < 2) break;
      *out++ = '\r';
      *out++ = '\n';
      in += 2;
    } else if (findPlaceholder && c == '%' && static_cast<unsigned char>(next) > ' ' &&
               static_cast<unsigned char>(next) < 0x80) {
      return {in, out, true};
    } else {
      *out++ = c;
      ++in;
    }
  }
  return {in, out, false};
}

struct Placeholder {
  NumberForm form;
  int32_t digits;  // 0: the default
  const char* rest;
};

// Reads the placeholder at in ("%" and the character that decides).
Placeholder ReadPlaceholder(const char* in) {
  char c = in[1];
  const char* rest = in + 2;
  if (c == 'i') return {NumberForm::kSigned, 0, rest};
  if (c == 'u') return {NumberForm::kUnsigned, 0, rest};
  int32_t digits = 0;
  if (c >= '1' && c <= '9') {
    digits = c - '0';
  } else if ((c >= 0x3A && c <= 0x40) || (c >= 'A' && c <= 'J')) {
    digits = c - 55;  // ":" to "@" give 3 to 9, "A" to "J" 10 to 19
  }
  // A digit count takes the character after it too, unless that is the terminator.
  if (digits != 0 && *rest != '\0') ++rest;
  return {NumberForm::kFloating, digits, rest};
}

long double LoadOperand(uint32_t kind, Word slot) {
  const void* at = reinterpret_cast<const void*>(slot);
  switch (kind) {
    case kNumberInt32:
      return static_cast<int32_t>(static_cast<uint32_t>(slot));
    case kNumberSingle:
      return internal::SingleFromBits(static_cast<uint32_t>(slot));
    case kNumberDouble: {
      double d;
      std::memcpy(&d, at, sizeof d);
      return d;
    }
    case kNumberExtended: {
      long double v = 0;
      std::memcpy(&v, at, 10);
      return v;
    }
    case kNumberInt64: {
      int64_t v;
      std::memcpy(&v, at, sizeof v);
      return static_cast<long double>(v);
    }
    default: {  // an SSE register's low half: as a double (kind 4) or a 64-bit integer
      uint64_t low = 0;
      if (slot - kSseRegisterCode < static_cast<Word>(internal::kSseRegisterCount)) {
        StoreSseLow(static_cast<int32_t>(slot - kSseRegisterCode), &low);
      }
      if (kind == kNumberSseDouble) {
        double d;
        std::memcpy(&d, &low, sizeof d);
        return d;
      }
      return static_cast<long double>(static_cast<int64_t>(low));
    }
  }
}

// Operand k is argument count - k, counting the selector as argument 1; the slots are
// arguments 4 to slotCount + 3.
long double Evaluate(uint32_t descriptor, int32_t count, const Word* slots, int32_t slotCount) {
  long double result = 0;
  uint32_t fields = descriptor & kOperandFields;
  for (int k = 1; k <= kMaxOperands; ++k) {
    uint32_t remaining = fields >> (6 * (k - 1));
    if (k > 1 && remaining == 0) break;
    int64_t argument = int64_t{count} - k;
    if (argument < 4 || argument > int64_t{slotCount} + 3) break;
    uint32_t field = remaining & 0x3F;
    long double v = LoadOperand(field >> 3, slots[argument - 4]);
    if (k == 1 && (descriptor & kNegateFirstOperand) != 0) v = -v;
    switch (field & 7) {
      case kNumberSet:
        result = v;
        break;
      case kNumberAdd:
        result = internal::X87Add(result, v);
        break;
      case kNumberSubtract:
        result = internal::X87Sub(result, v);
        break;
      case kNumberMultiply:
        result = internal::X87Mul(result, v);
        break;
      case kNumberDivide:
        result = internal::X87Div(result, v);
        break;
      default:
        break;
    }
  }
  return result;
}

// A lone integer operand in an integer form needs no floating arithmetic: its text is
// exact. True, with the value, for such a call.
bool LoneInteger(uint32_t descriptor, int32_t count, const Word* slots, int32_t slotCount,
                 int64_t& value) {
  // NumberText(form, value) with an int32_t value: one operand of descriptor 0 (a 32-bit
  // integer that becomes the result) in the first slot.
  if (count == 5 && slotCount >= 1 && (descriptor & kOperandFields) == 0) {
    value = static_cast<int32_t>(static_cast<uint32_t>(slots[0]));
    return true;
  }
  uint32_t field = descriptor & 0x3F;
  if ((descriptor & kOperandFields) != field || (field & 7) != kNumberSet) return false;
  int64_t argument = int64_t{count} - 1;
  if (argument < 4 || argument > int64_t{slotCount} + 3) return false;
  uint32_t kind = field >> 3;
  if (kind == kNumberInt32) {
    value = static_cast<int32_t>(static_cast<uint32_t>(slots[argument - 4]));
    return true;
  }
  if (kind == kNumberInt64) {
    std::memcpy(&value, reinterpret_cast<const void*>(slots[argument - 4]), sizeof value);
    return true;
  }
  return false;
}

int32_t DefaultDigits() {
  Word d = internal::g_state.core.commonData.entries[5];
  return d >= 1 && d <= 19 ? static_cast<int32_t>(d) : 7;
}

// Widens the text of `length` bytes and its terminator in place to 16-bit characters.
void Widen(char* text, ptrdiff_t length) {
  for (ptrdiff_t i = length; i >= 0; --i) {
    char c = text[i];
    text[2 * i + 1] = '\0';
    text[2 * i] = c;
  }
}

// Every call but the common one below: formats, floating forms, operators and wide text.
__attribute__((noinline)) char* GeneralNumberText(TextArg selector, uint32_t descriptor,
                                                  int32_t count, const Word* slots,
                                                  int32_t slotCount) {
  char* const start = ScratchWritePosition();
  char* const limit = start + kMaxText;
  char* out = start;

  Word s = selector.word();
  int64_t integer;
  NumberForm form = NumberForm::kFloating;
  const char* format = nullptr;
  if (s == 1) {
    form = NumberForm::kSigned;
  } else if (s == static_cast<Word>(-1) || s == 0xFFFFFFFFu) {
    form = NumberForm::kUnsigned;
  } else if (s == kCurrentSlot) {
    format = SelectTempSlot(kSlotCurrent)->text;
  } else if (!selector.IsSmall()) {
    format = selector.bytes();
  }

  int32_t digits = 0;
  const char* rest = nullptr;
  if (format != nullptr) {
    Copied prefix = CopyFormat(format, out, limit - internal::kNumberTextRoom, true);
    out = prefix.out;
    if (prefix.atPlaceholder) {
      Placeholder p = ReadPlaceholder(prefix.in);
      form = p.form;
      digits = p.digits;
      rest = p.rest;
    }
  }
  if (digits == 0) digits = DefaultDigits();

  if (!internal::PowersOfTenBuilt()) BuildPowersOfTen();
  if (form != NumberForm::kFloating && LoneInteger(descriptor, count, slots, slotCount, integer)) {
    out = internal::WriteInteger(integer, (descriptor & kNegateFirstOperand) != 0, form, out);
  } else {
    internal::RoundDownMode mode;
    long double value = Evaluate(descriptor, count, slots, slotCount);
    out = internal::WriteNumber(value, form, digits, out);
  }

  if (rest != nullptr) out = CopyFormat(rest, out, limit, false).out;
  *out = '\0';
  char* end = out;
  if ((descriptor & kWideNumberText) != 0) {
    Widen(start, out - start);
    end = start + 2 * (out - start);
  }
  return CommitScratchText(end, kSlotAdvance).text;
}

// Every call but the common one below: the lone integers take the short way still, with
// the table and the ring made ready first.
__attribute__((noinline)) char* OtherNumberText(TextArg selector, uint32_t descriptor,
                                                int32_t count, const Word* slots,
                                                int32_t slotCount) {
  Word s = selector.word();
  const bool signedForm = s == 1;
  int64_t integer;
  if ((!signedForm && s != static_cast<Word>(-1) && s != 0xFFFFFFFFu) ||
      (descriptor & kWideNumberText) != 0 ||
      !LoneInteger(descriptor, count, slots, slotCount, integer)) {
    return GeneralNumberText(selector, descriptor, count, slots, slotCount);
  }
  if (!internal::PowersOfTenBuilt()) BuildPowersOfTen();
  char* out = internal::WriteInteger(integer, (descriptor & kNegateFirstOperand) != 0,
                                     signedForm ? NumberForm::kSigned : NumberForm::kUnsigned,
                                     ScratchWritePosition());
  *out = '\0';
  return CommitScratchText(out, kSlotAdvance).text;
}

}  // namespace

char* NumberToTextSlots(TextArg selector, uint32_t descriptor, int32_t count, const Word* slots,
                        int32_t slotCount) {
  // The common call, NumberText(form, value) with one int32_t in an integer form and no
  // format, once the table is built and the ring has started: the text goes straight to the
  // scratch area and the ring, in 32-bit arithmetic, with no further call.
  Word s = selector.word();
  const bool signedForm = s == 1;
  if ((signedForm || s == static_cast<Word>(-1) || s == 0xFFFFFFFFu) &&
      (descriptor & ~kNegateFirstOperand) == 0 && count == 5 && slotCount >= 1 &&
      internal::PowersOfTenBuilt() && internal::ScratchReady()) {
    char* end = internal::WriteInteger32(static_cast<int32_t>(static_cast<uint32_t>(slots[0])),
                                         descriptor != 0,
                                         signedForm ? NumberForm::kSigned : NumberForm::kUnsigned,
                                         internal::g_state.core.scratchWrite);
    *end = '\0';
    return internal::CommitNewText(end);
  }
  return OtherNumberText(selector, descriptor, count, slots, slotCount);
}

}  // namespace corvala
