// The arithmetic steps of the number conversions whose rounding decides digits or stored
// bits. They run as x87 instructions in inline assembly, each with one rounding in the mode
// of the enclosing RoundDownMode guard, so that the compiler can neither fold them nor move
// them out of the guard (all are volatile and keep their order relative to the guard's
// fldcw), and every build gives the same bits. Operands pass through memory; each block
// balances the register stack and declares the registers it borrows.
#pragma once

#include <cstdint>

namespace corvala::internal {

// a + b, a - b, a * b, a / b.
#define CORVALA_X87_BINARY(Name, instruction)             \
  inline long double Name(long double a, long double b) { \
    long double r;                                        \
    asm volatile("fldt %2\n\tfldt %1\n\t" instruction     \
                 " %%st(1), %%st\n\t"                     \
                 "fstpt %0\n\tfstp %%st(0)"               \
                 : "=m"(r)                                \
                 : "m"(a), "m"(b)                         \
                 : "st", "st(1)");                        \
    return r;                                             \
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
  asm volatile("fldlg2\n\tfldt %1\n\tfyl2x\n\tfadds %2\n\tfistpl %0"
               : "=m"(e)
               : "m"(x), "m"(epsilon)
               : "st", "st(1)");
  return e;
}

// x * scale + addend, each step rounded.
inline long double X87MulAdd(long double x, long double scale, long double addend) {
  long double r;
  asm volatile(
      "fldt %3\n\tfldt %2\n\tfldt %1\n\tfmul %%st(1), %%st\n\tfadd %%st(2), %%st\n\t"
      "fstpt %0\n\tfstp %%st(0)\n\tfstp %%st(0)"
      : "=m"(r)
      : "m"(x), "m"(scale), "m"(addend)
      : "st", "st(1)", "st(2)");
  return r;
}

// v * ten + digit, each step rounded (one step of decimal accumulation).
inline long double X87TimesTenPlus(long double v, int32_t digit) {
  static const float kTen = 10.0f;
  long double r;
  asm volatile("fldt %1\n\tfmuls %2\n\tfiaddl %3\n\tfstpt %0"
               : "=m"(r)
               : "m"(v), "m"(kTen), "m"(digit)
               : "st");
  return r;
}

// v + a single-precision constant, rounded.
inline long double X87AddSingle(long double v, float addend) {
  long double r;
  asm volatile("fldt %1\n\tfadds %2\n\tfstpt %0" : "=m"(r) : "m"(v), "m"(addend) : "st");
  return r;
}

// v converted to a signed 64-bit integer in the current mode (down: the floor). Out of
// range and NaN give the integer indefinite, INT64_MIN.
inline int64_t X87ToInt64(long double v) {
  int64_t r;
  asm volatile("fldt %1\n\tfistpll %0" : "=m"(r) : "m"(v) : "st");
  return r;
}

inline double X87ToDouble(long double v) {
  double r;
  asm volatile("fldt %1\n\tfstpl %0" : "=m"(r) : "m"(v) : "st");
  return r;
}

inline float X87ToSingle(long double v) {
  float r;
  asm volatile("fldt %1\n\tfstps %0" : "=m"(r) : "m"(v) : "st");
  return r;
}

}  // namespace corvala::internal
