#include "runtime/numbers/number_dispatch.h"

#include <cstdint>

namespace corvala::internal {
namespace {

constexpr uint8_t kListEnd = 0x80;  // the ScanDispatch list ends, DigitDispatch follows
constexpr uint8_t kTableEnd = 0xFF;

// (character, class) pairs; the entry for "0" stands for all ten digits.
// clang-format off
constexpr uint8_t kNumberCharTable[] = {
    '\0', kScanEnd, '\t', kScanEnd, ' ', kScanEnd, ')', kScanEnd,
    '.', kScanPoint,
    '0', kScanContinue, 'a', kScanContinue, 'A', kScanContinue, 'c', kScanContinue,
    'C', kScanContinue, 'f', kScanContinue, 'F', kScanContinue, ',', kScanContinue,
    '+', kScanSign, '-', kScanSign,
    'e', kScanExponentOrHex, 'E', kScanExponentOrHex,
    'd', kScanDecimalSuffixOrHex, 'D', kScanDecimalSuffixOrHex,
    'b', kScanBinarySuffixOrHex, 'B', kScanBinarySuffixOrHex,
    'y', kScanBinarySuffix, 'Y', kScanBinarySuffix,
    'h', kScanHexSuffix, 'H', kScanHexSuffix,
    '$', kScanHexPrefix, 'x', kScanHexPrefix, 'X', kScanHexPrefix,
    '(', kScanOpen,
    kListEnd,
    '0', kDigitValue,
    '.', kDigitSkip, ',', kDigitSkip,
    'e', kDigitExponent, 'E', kDigitExponent,
    kTableEnd};
// clang-format on

}  // namespace

void BuildNumberDispatch() {
  uint8_t* table = g_state.numbers.scanDispatch;
  for (const uint8_t* entry = kNumberCharTable; *entry != kTableEnd;) {
    if (*entry == kListEnd) {
      table = g_state.numbers.digitDispatch;
      ++entry;
      continue;
    }
    uint8_t c = entry[0];
    uint8_t cls = entry[1];
    entry += 2;
    if (c == '0') {
      for (int d = 0; d < 10; ++d) table['0' + d] = cls;
    } else {
      table[c] = cls;
    }
  }
}

}  // namespace corvala::internal
