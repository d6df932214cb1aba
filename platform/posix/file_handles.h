// For the POSIX backends: file handles are file descriptors plus one (see platform/handles.h).
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace platform::posix {

inline HANDLE HandleFromDescriptor(int descriptor) {
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(descriptor) + 1);
}

// -1 for 0, INVALID_HANDLE_VALUE and values that cannot stand for a descriptor.
inline int DescriptorFromHandle(HANDLE handle) {
  intptr_t value = reinterpret_cast<intptr_t>(handle);
  if (value < 1 || value > INT32_MAX) return -1;
  return static_cast<int>(value - 1);
}

}  // namespace platform::posix
