#include "platform/cpu.h"

#include <cpuid.h>

#include "platform/hooks.h"

namespace platform {

bool ProcessorHasSse2() {
  switch (hooks::FakedSse2()) {
    case hooks::Sse2::kPresent:
      return true;
    case hooks::Sse2::kAbsent:
      return false;
    case hooks::Sse2::kReal:
      break;
  }
  unsigned eax, ebx, ecx, edx;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  return (edx & (1u << 26)) != 0;
}

}  // namespace platform
