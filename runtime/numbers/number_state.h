// The numbers subsystem's share of the runtime state (see runtime/core/state.h).
#pragma once

#include <cstdint>

#include "corvala/types.h"

namespace corvala::internal {

inline constexpr int kPowersOfTenCount = 299;
inline constexpr int kHighestPowerOfTen = 155;  // entry 0
inline constexpr int kLowestPowerOfTen = -143;  // entry 298
inline constexpr int kSseRegisterCount = 8;

struct NumberState {
  // Entry i holds 10^(155 - i) in 64-bit-mantissa precision. All zero until first use; built
  // once the first word of entry 0 is non-zero.
  long double powersOfTen[kPowersOfTenCount];
  // Character classes for the number reader, filled on first use (built once the entry of
  // the zero byte is non-zero).
  uint8_t scanDispatch[256];
  uint8_t digitDispatch[256];
  // The eight SSE registers that number operands and destinations name by the codes 20 to
  // 27: low and high 64 bits each. A C++ caller cannot keep a value in a machine register
  // across a call, so the conversions and the caller meet here instead.
  alignas(16) uint64_t sseBank[kSseRegisterCount][2];
};

}  // namespace corvala::internal
