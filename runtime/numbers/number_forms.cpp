#include "runtime/numbers/number_forms.h"

#include <cstdint>
#include <cstring>

#include "corvala/numbers.h"
#include "runtime/numbers/digit_pairs.h"
#include "runtime/numbers/powers_of_ten.h"
#include "runtime/numbers/x87.h"

namespace corvala::internal {
namespace {

constexpr uint64_t kPow10[20] = {1ull,
                                 10ull,
                                 100ull,
                                 1000ull,
                                 10000ull,
                                 100000ull,
                                 1000000ull,
                                 10000000ull,
                                 100000000ull,
                                 1000000000ull,
                                 10000000000ull,
                                 100000000000ull,
                                 1000000000000ull,
                                 10000000000000ull,
                                 100000000000000ull,
                                 1000000000000000ull,
                                 10000000000000000ull,
                                 100000000000000000ull,
                                 1000000000000000000ull,
                                 10000000000000000000ull};

// About 2e-19: lifts log10 of exact powers of ten below 1000 over the integer.
float ExponentEpsilon() { return SingleFromBits(0x206C1E4A); }
float TwoToThe32() { return SingleFromBits(0x4F800000); }

// Short copies by hand: a library call costs more than the few bytes.
char* Append(char* out, const char* text) {
  while (*text != '\0') *out++ = *text++;
  return out;
}

char* AppendExponent(char* out, int32_t e) {
  *out++ = 'e';
  *out++ = e < 0 ? '-' : '+';
  uint32_t magnitude = e < 0 ? 0u - static_cast<uint32_t>(e) : static_cast<uint32_t>(e);
  if (magnitude < 10) *out++ = '0';
  return AppendDigits(out, magnitude);
}

enum class Layout {
  kFixed,     // e + 1 digits before the point
  kSmall,     // "0." and -e - 1 zeros, then the digits
  kExponent,  // one digit before the point and an exponent suffix
};

// The mantissa of nines that an estimate one too high leaves one digit short ("99999999"
// for 10^-100 * (1 - 10^-17) at 19 digits) is mended by putting "9." before it.
bool MendableNines(const char* first, int32_t count) {
  return count >= 9 && std::memcmp(first + 5, "9999", 4) == 0;
}

char* WriteFloating(long double x, int32_t digits, char* out) {
  int32_t e = X87Log10Estimate(x, ExponentEpsilon());
  for (int retry = 0;; ++retry) {
    int32_t d = digits;
    // The scale 10^(d - 1 - e) must be in the table.
    if (int64_t{e} - d < -156 || int64_t{e} - d > 142) return Append(out, "^v?");
    Layout layout = e >= 0 && e < d      ? Layout::kFixed
                    : e >= -3 && e <= -1 ? Layout::kSmall
                                         : Layout::kExponent;
    bool fixedAtZero = layout == Layout::kFixed && e == 0;
    long double y = X87Add(X87Mul(x, PowerOfTen(d - 1 - e)), RoundingAddend());
    if (y >= PowerOfTen(d)) {
      // One digit more than asked for: the estimate was one too low or the rounding carried.
      ++d;
      ++e;
      if (fixedAtZero) {
        layout = Layout::kExponent;
      } else if (layout == Layout::kSmall && e == 0) {
        layout = Layout::kFixed;
      }
    }
    int64_t m = X87ToInt64(y);
    if (m < 0) return Append(out, "^v?");  // beyond 64 bits: the integer indefinite
    uint64_t mantissa = static_cast<uint64_t>(m);

    bool suffixed = layout == Layout::kExponent || fixedAtZero;
    int32_t fraction = layout == Layout::kFixed      ? d - 1 - e
                       : layout == Layout::kExponent ? d - 1
                                                     : 0;
    char buffer[kNumberTextRoom];
    char* end = buffer + 40;  // digits are written leftwards from end - 1
    char* first;
    if (layout == Layout::kSmall) {
      first = WriteDecimalDigits(mantissa, end - 1, nullptr) + 1;
      while (end - first < d) *--first = '0';  // an estimate one too high: keep the place
      out = Append(out, "0.");
      for (int32_t z = -e - 1; z > 0; --z) *out++ = '0';
    } else if (mantissa < kPow10[fraction]) {
      // Short by a digit: the estimate was one too high, and no point would be written.
      first = WriteDecimalDigits(mantissa, end - 1, nullptr) + 1;
      int32_t count = static_cast<int32_t>(end - first);
      if (suffixed && count == d - 1 && MendableNines(first, count)) {
        *--first = '.';
        *--first = '9';
        end[-1] = '0';
        --e;
      } else if (retry == 0) {
        --e;
        continue;
      }
    } else if (fraction == 0) {
      // The point after the last digit takes a "0" after it: "1234567.0", "5.0e+01".
      end[-1] = '0';
      end[-2] = '.';
      first = WriteDecimalDigits(mantissa, end - 3, nullptr) + 1;
    } else {
      first = WriteDecimalDigits(mantissa, end - 1, end - 1 - fraction) + 1;
    }
    while (first < end) *out++ = *first++;
    if (suffixed && e != 0) out = AppendExponent(out, e);
    return out;
  }
}

}  // namespace

char* AppendLongDigits(char* out, uint64_t value) {
  int n = 1;
  while (n < 20 && value >= kPow10[n]) ++n;
  WriteDecimalDigits(value, out + n - 1, nullptr);
  return out + n;
}

char* WriteNumber(const long double& operand, NumberForm form, int32_t digits, char* out) {
  long double value = operand;
  if (value != value) return Append(out, "^v?");  // NaN
  if (value == 0) return Append(out, form == NumberForm::kFloating ? "0.0" : "0");
  if (form == NumberForm::kUnsigned) {
    int64_t m;
    if (value < 0) {
      long double lifted = X87AddSingle(value, TwoToThe32());
      m = lifted >= 0 ? X87ToInt64(lifted) : (X87ToInt64(value) & 0xFFFFFFFF);
    } else {
      m = X87ToInt64(value);
    }
    return AppendDigits(out, static_cast<uint64_t>(m));
  }
  if (value < 0) {
    *out++ = '-';
    value = -value;
  }
  if (form == NumberForm::kSigned) {
    // A magnitude of 2^63 or more converts to the integer indefinite, read as 2^63.
    return AppendDigits(out, static_cast<uint64_t>(X87ToInt64(value)));
  }
  return WriteFloating(value, digits, out);
}

}  // namespace corvala::internal
