// The arithmetic steps of the number conversions whose rounding decides digits or stored
// bits. They run as x87 instructions in inline assembly, each with one rounding in the mode
// of the enclosing RoundDownMode guard, so that the compiler can neither fold them nor move
// them out of the guard (all are volatile and keep their order relative to the guard's
// fldcw), and every build gives the same bits. Values stay on the x87 register stack
// between the steps: "t" is its top, "u" the register below.
#pragma once

#include <cstdint>

namespace corvala::internal {

// a + b, a - b, a * b, a / b.
#define CORVALA_X87_BINARY(Name, instruction)                      \
  inline long double Name(long double a, long double b) {          \
    asm volatile(instruction " %%st(1), %%st" : "+t"(a) : "u"(b)); \
    return a;                                                      \
  }
CORVALA_X87_BINARY(X87Add, "fadd")
CORVALA_X87_BINARY(X87Sub, "fsub")
CORVALA_X87_BINARY(X87Mul, "fmul")
CORVALA_X87_BINARY(X87Div, "fdiv")
#undef CORVALA_X87_BINARY

// floor(log2(x) * log10(2) + epsilon): fldlg2 loads log10(2) rounded in the current mode,
// fyl2x rounds the product once, the sum is rounded, and fistp converts in the mode.
inline int32_t X87Log10Estimate(long double x, float epsilon) {
  int32_t e;
  asm volatile("fldlg2\n\tfxch %%st(1)\n\tfyl2x\n\tfadds %2\n\tfistpl %0"
               : "=m"(e)
               : "t"(x), "m"(epsilon)
               : "st", "st(1)");
  return e;
}

// v * ten + digit, each step rounded (one step of decimal accumulation).
inline long double X87TimesTenPlus(long double v, int32_t digit) {
  static const float kTen = 10.0f;
  asm volatile("fmuls %1\n\tfiaddl %2" : "+t"(v) : "m"(kTen), "m"(digit));
  return v;
}

// v + a single-precision constant, rounded.
inline long double X87AddSingle(long double v, float addend) {
  asm volatile("fadds %1" : "+t"(v) : "m"(addend));
  return v;
}

// v converted to a signed 64-bit integer in the current mode (down: the floor). Out of
// range and NaN give the integer indefinite, INT64_MIN.
inline int64_t X87ToInt64(long double v) {
  int64_t r;
  asm volatile("fistpll %0" : "=m"(r) : "t"(v) : "st");
  return r;
}

inline double X87ToDouble(long double v) {
  double r;
  asm volatile("fstpl %0" : "=m"(r) : "t"(v) : "st");
  return r;
}

inline float X87ToSingle(long double v) {
  float r;
  asm volatile("fstps %0" : "=m"(r) : "t"(v) : "st");
  return r;
}

}  // namespace corvala::internal
