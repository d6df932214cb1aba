// The character classes of the number reader: ScanDispatch sorts the characters of a number
// text for the first pass, DigitDispatch for the decimal conversion. Both tables live in
// the runtime state and are filled on first use from NumberCharTable.
#pragma once

#include <cstdint>

#include "runtime/core/state.h"

namespace corvala::internal {

enum ScanClass : uint8_t {
  kScanError = 0,  // every character not listed
  kScanEnd,
  kScanPoint,
  kScanContinue,
  kScanSign,
  kScanExponentOrHex,
  kScanDecimalSuffixOrHex,
  kScanBinarySuffixOrHex,
  kScanBinarySuffix,
  kScanHexSuffix,
  kScanHexPrefix,
  kScanOpen,
};

enum DigitClass : uint8_t {
  kDigitEnd = 0,  // every character not listed
  kDigitValue,
  kDigitSkip,
  kDigitExponent,
};

inline bool NumberDispatchBuilt() { return g_state.numbers.scanDispatch[0] != 0; }
void BuildNumberDispatch();

}  // namespace corvala::internal
