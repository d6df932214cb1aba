/// @file
/// Numbers: number to text, text to number, integer text and tolerant comparison.
#pragma once

#include <cstdint>
#include <type_traits>

#include "corvala/export.h"
#include "corvala/types.h"

namespace corvala {

// --- Integer text and tolerant comparison ---------------------------------------------------

/// Writes value as signed decimal text with a terminating zero; buffer holds 12 bytes.
CORVALA_API void IntToDecimal(int32_t value, char* buffer);

/// The result of CompareWithTolerance.
enum class Comparison {
  kBelow = -1,    ///< first is below second
  kEqual = 0,     ///< equal within the tolerance
  kAbove = 1,     ///< first is above second
  kUnordered = 2  ///< a NaN outside the tolerance
};
/// Compares first and second as doubles (rounded in the current mode); they are equal when
/// their bit patterns differ only in bytes below k. A NaN whose pattern differs from the
/// other operand at byte k or above compares kUnordered; a NaN within the tolerance of the
/// other pattern (identical patterns included) compares kEqual.
CORVALA_API Comparison CompareWithTolerance(uint32_t k, long double first, long double second);

}  // namespace corvala

namespace corvala {

// --- Number kinds, shared by both conversions -------------------------------------------------

/// What an operand slot or a destination word holds (3 bits).
enum NumberKind : uint32_t {
  kNumberInt32 = 0,        ///< the value (operand); returned as the value (destination)
  kNumberSingle = 1,       ///< operand: the value's bits; destination: an address
  kNumberDouble = 2,       ///< an address
  kNumberExtended = 3,     ///< an address of an 80-bit value (10 bytes)
  kNumberSseDouble = 4,    ///< an SSE register code, kSseRegisterCode + n: its low half as double
  kNumberSseInt64 = 5,     ///< an SSE register code: its low half as a signed 64-bit integer
  kNumberInt64 = 6,        ///< an address of a signed 64-bit integer
  kNumberSseInt64Alt = 7,  ///< as kNumberSseInt64
};
inline constexpr Word kSseRegisterCode = 20;  ///< SSE register n is named by 20 + n

// --- The SSE register bank --------------------------------------------------------------------

// The eight SSE registers that operands and destinations name by their codes are modelled
// as a process-wide bank of eight 128-bit values (a C++ caller cannot keep a value in a
// machine register across a call). The conversions read and write only the low halves. A
// register number outside 0 to 7 is ignored (reads give zeros).

/// One 128-bit value of the SSE register bank, which stands for the eight SSE registers
/// that operands and destinations name by their codes (a caller cannot keep a value in a
/// machine register across a call). The conversions read and write only the low halves.
struct SseRegisterValue {
  uint64_t low;   ///< bits 0 to 63, which the conversions use
  uint64_t high;  ///< bits 64 to 127
};
/// Sets register n (0 to 7; other numbers are ignored) of the bank.
CORVALA_API void SetSseRegister(int32_t n, SseRegisterValue value);
/// Register n (0 to 7) of the bank; other numbers read as zeros.
CORVALA_API SseRegisterValue SseRegister(int32_t n);
/// Copies 8 bytes from source into the low half of register n; the high half stays.
CORVALA_API void LoadSseLow(int32_t n, const void* source);
/// Copies the low half of register n to destination (8 bytes).
CORVALA_API void StoreSseLow(int32_t n, void* destination);

// --- Number to text ---------------------------------------------------------------------------

/// How an operand combines with the running result (3 bits).
enum NumberOperator : uint32_t {
  kNumberSet = 0,  ///< the operand becomes the running result (also on a later operand)
  kNumberAdd = 1,
  kNumberSubtract = 2,
  kNumberMultiply = 3,
  kNumberDivide = 4,
  // 5 to 7: the operand is read and has no effect.
};
/// The 6-bit descriptor of one operand; operand k's goes to bits 6(k-1) to 6(k-1)+5.
constexpr uint32_t OperandDescriptor(NumberKind kind, NumberOperator op = kNumberSet) {
  return (static_cast<uint32_t>(kind) << 3) | static_cast<uint32_t>(op);
}
inline constexpr uint32_t kNegateFirstOperand = 1u << 30;  ///< operand 1 is negated first
inline constexpr uint32_t kWideNumberText = 1u << 31;      ///< UTF-16 result

// Format selectors besides a format text (or 127 for the current slot's text).
inline constexpr int kFloatingForm = 0;   ///< selector: the floating-point form
inline constexpr int kIntegerForm = 1;    ///< selector: the integer form
inline constexpr int kUnsignedForm = -1;  ///< selector: the unsigned integer form

/// The raw form, with the runtime's argument order: the format selector, the descriptor
/// word, count (the number of operand slots plus 4), then the operand slots in reverse
/// order, operand 1 last. Each slot is a 32-bit value or an address (see NumberKind). The
/// number of operands comes from the descriptor: after operand 1, as long as descriptor
/// bits 6 and up (bit 30 and 31 aside) from the next operand's field on are not all zero.
///
/// The text is written into the scratch area and becomes the newest temporary slot; the
/// result is its address (of char16_t characters with kWideNumberText, the slot's length
/// then counts bytes). The floating-point control word is the same on return as on entry.
///
/// Choices where the runtime's rules leave the result open:
/// - Selectors 2 to 126 (no address) act as 0; 127 with no current text too.
/// - A NaN result gives "^v?" in every form, with no sign.
/// - A format text without a placeholder is copied whole and the number follows it. A
///   digit-count placeholder at the very end ("%5") ends the text: nothing is skipped past
///   the terminator. The 8-bit text is cut at 79,900 bytes (a longer format is not read
///   further), so that it fits the scratch area in either width.
/// - Operators 5 to 7 have no effect; operator 0 on a later operand replaces the result.
/// - An operand that the descriptor names but count gives no slot for, and every operand
///   after it, is not read. An SSE register code outside 20 to 27 reads as zero.
/// - The unsigned form of a result below -2^32: the low 32 bits of the result rounded down
///   to a 64-bit integer.
/// - A carry in the form "0.0..." moves the digits one place up ("0.0999999999" with 7
///   digits gives "0.10000000", "0.99999999" gives "1.0000000"). Where the exponent
///   estimate was one too high and the mantissa lacks a digit, the digits are written again
///   one place up (unless the known repair of a mantissa of nines applies), so the text
///   never has gaps and shows the value.
CORVALA_API char* NumberToTextSlots(TextArg selector, uint32_t descriptor, int32_t count,
                                    const Word* slots, int32_t slotCount);

namespace number_detail {
template <typename T>
Word SlotWord(T value) {
  if constexpr (std::is_pointer_v<T>) {
    return reinterpret_cast<Word>(value);
  } else if constexpr (std::is_same_v<T, float>) {
    uint32_t bits;
    __builtin_memcpy(&bits, &value, 4);
    return bits;
  } else {
    static_assert(std::is_integral_v<T>, "an operand slot is a 32-bit value or an address");
    return static_cast<Word>(value);
  }
}
}  // namespace number_detail

/// The raw form with the operand slots as arguments, in the runtime's order (operand 1
/// last): NumberToTextSlots with an array of the slots.
template <typename... Slots>
char* NumberToText(TextArg selector, uint32_t descriptor, int32_t count, Slots... slots) {
  const Word words[] = {number_detail::SlotWord(slots)..., 0};
  return NumberToTextSlots(selector, descriptor, count, words,
                           static_cast<int32_t>(sizeof...(Slots)));
}

// The natural form: NumberText(format, operands...) with one to five operands in their
// natural order, e.g. NumberText("%3f", 7, Over(2.5)). An operand is made from an int32_t,
// float, double, long double, int64_t or an SSE register (SseDouble{n}, SseInt64{n});
// Plus, Minus, Times and Over give it an operator. Operands made from double, long double
// and int64_t keep the value's address: make them inside the call.

/// An operand: the low half of SSE register n as a double.
struct SseDouble {
  int32_t n;  ///< the register number, 0 to 7
};
/// An operand: the low half of SSE register n as a signed 64-bit integer.
struct SseInt64 {
  int32_t n;  ///< the register number, 0 to 7
};
/// One operand of NumberText: its kind, operator and slot. Made implicitly from the value;
/// one made from a double, long double or int64_t keeps the value's address, so make it
/// inside the call.
class NumberOperand {
 public:
  /// A 32-bit integer operand.
  NumberOperand(int32_t value) : NumberOperand(kNumberInt32, static_cast<uint32_t>(value)) {}
  /// A single operand.
  NumberOperand(float value) : NumberOperand(kNumberSingle, number_detail::SlotWord(value)) {}
  /// A double operand, by its address.
  NumberOperand(const double& value) : NumberOperand(kNumberDouble, Address(&value)) {}
  /// An 80-bit operand, by its address.
  NumberOperand(const long double& value) : NumberOperand(kNumberExtended, Address(&value)) {}
  /// A signed 64-bit integer operand, by its address.
  NumberOperand(const int64_t& value) : NumberOperand(kNumberInt64, Address(&value)) {}
  /// The low half of an SSE register as a double.
  NumberOperand(SseDouble r) : NumberOperand(kNumberSseDouble, kSseRegisterCode + r.n) {}
  /// The low half of an SSE register as a signed 64-bit integer.
  NumberOperand(SseInt64 r) : NumberOperand(kNumberSseInt64, kSseRegisterCode + r.n) {}

  /// The same operand with the operator op.
  NumberOperand With(NumberOperator op) const {
    NumberOperand o = *this;
    o.descriptor_ = OperandDescriptor(kind_, op);
    return o;
  }
  /// The operand's 6-bit descriptor.
  uint32_t descriptor() const { return descriptor_; }
  /// The operand's slot: a 32-bit value or an address.
  Word slot() const { return slot_; }

 private:
  NumberOperand(NumberKind kind, Word slot)
      : kind_(kind), descriptor_(OperandDescriptor(kind)), slot_(slot) {}
  static Word Address(const void* p) { return reinterpret_cast<Word>(p); }
  NumberKind kind_;
  uint32_t descriptor_;
  Word slot_;
};
/// The operand, added to the running result.
inline NumberOperand Plus(NumberOperand o) { return o.With(kNumberAdd); }
/// The operand, subtracted from the running result.
inline NumberOperand Minus(NumberOperand o) { return o.With(kNumberSubtract); }
/// The operand, multiplying the running result.
inline NumberOperand Times(NumberOperand o) { return o.With(kNumberMultiply); }
/// The operand, dividing the running result.
inline NumberOperand Over(NumberOperand o) { return o.With(kNumberDivide); }

namespace number_detail {
template <typename... Operands>
char* NumberTextWith(TextArg format, uint32_t flags, const Operands&... operands) {
  constexpr int n = static_cast<int>(sizeof...(Operands));
  static_assert(n >= 1 && n <= 5, "NumberText takes one to five operands");
  const NumberOperand list[] = {NumberOperand(operands)...};
  uint32_t descriptor = flags;
  Word slots[n];
  for (int i = 0; i < n; ++i) {
    descriptor |= list[i].descriptor() << (6 * i);
    slots[n - 1 - i] = list[i].slot();
  }
  return NumberToTextSlots(format, descriptor, n + 4, slots, n);
}
}  // namespace number_detail

/// The natural form of NumberToText: the text of one to five operands in their natural
/// order, e.g. NumberText("%3f", 7, Over(2.5)), in the newest temporary slot; returns its
/// address.
template <typename... Operands>
const char* NumberText(TextArg format, const Operands&... operands) {
  return number_detail::NumberTextWith(format, 0, operands...);
}
/// NumberText with a UTF-16 result (the slot's length counts bytes).
template <typename... Operands>
const char16_t* NumberTextW(TextArg format, const Operands&... operands) {
  return reinterpret_cast<const char16_t*>(
      number_detail::NumberTextWith(format, kWideNumberText, operands...));
}

// --- Text to number ---------------------------------------------------------------------------

/// The value (for kind 0; 0 for the other kinds) and the count: the characters used, counted
/// from the source address (leading blanks, parentheses and suffix letters included), plus
/// kBinaryNotation or kHexNotation. Both are kNumberUnreadable when the text holds no
/// number; then nothing is stored.
struct NumberReading {
  int32_t value;  ///< the value for kind 0, else 0
  int32_t count;  ///< the characters used, plus kBinaryNotation or kHexNotation
};
inline constexpr int32_t kNumberUnreadable = -127;  ///< value and count: no number in the text
inline constexpr int32_t kBinaryNotation = 256;     ///< added to the count of a binary number
inline constexpr int32_t kHexNotation = 512;        ///< added to the count of a hexadecimal one

/// Reads one number from a zero-terminated 8-bit text (or 127: the current slot's text, read
/// up to its terminator) and stores it by kind (see NumberKind): kind 0 returns it as the
/// value, rounded half down; kinds 1, 2, 3 and 6 store at the destination address; kinds 4,
/// 5 and 7 into the low half of the SSE register named by destination (20 + n). Decimal
/// with point, digit-group commas and exponent; hexadecimal with "$", "x" or "0x" before or
/// "h" after; binary with "b" or "y" after; optionally in parentheses. Integer kinds round
/// toward minus infinity (kind 0 after adding just under one half), and so do the stores
/// of single and double values. The floating-point control word is the same on return.
///
/// Choices where the runtime's rules leave the result open:
/// - An exponent marker followed by signs and no digit reads as exponent 0 ("1e+" is 1);
///   so a "d" after a mantissa of nine or more characters, which is read as an exponent
///   marker, works as the suffix it is ("1234567890d" is 1234567890, count 11).
/// - After "$", "x" or "0x", a character from "0" on that is neither a hexadecimal digit nor
///   "h" makes the text unreadable ("0x1G").
/// - "D" and "H" work as suffixes like "d" and "h" (and are counted). A "+" or "-" is a sign
///   only as the first character of the number text (also inside parentheses: "-(5)" is -5);
///   "+" is accepted and skipped. Elsewhere before an exponent a sign ends the mantissa:
///   "12-" is 12, count 2.
/// - Commas after the point and further points are counted as decimal places: "1.2.3" is
///   0.123.
/// - A binary number must run from its first digit up to its suffix ("12b" is unreadable).
/// - With parentheses the count never goes past the terminator ("((12)" counts 5).
/// - A source of 0 to 126, or 127 with no current text, is unreadable. Kinds outside 0 to 7
///   and register codes outside 20 to 27 store nothing.
CORVALA_API NumberReading TextToNumber(TextArg source, Word destination = 0,
                                       int32_t kind = kNumberInt32);

/// Writes value's decimal digits leftwards from last; when the write position reaches point,
/// a "." is written there first. At least one digit. Returns the position just left of the
/// first character written. Divides by ten through multiplication by its reciprocal.
CORVALA_API char* WriteDecimalDigits(uint64_t value, char* last, char* point);

/// The 299 powers of ten: entry i holds 10^(155 - i) in 64-bit-mantissa precision. Built on
/// first use by either conversion; BuildPowersOfTen builds it now.
CORVALA_API void BuildPowersOfTen();
/// The table of the 299 powers of ten (built on this first use).
CORVALA_API const long double* PowersOfTen();

}  // namespace corvala
