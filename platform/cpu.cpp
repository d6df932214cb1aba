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

bool ProcessorHasAvx2() {
  unsigned eax, ebx, ecx, edx;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  constexpr unsigned kOsxsave = 1u << 27, kAvx = 1u << 28;
  if ((ecx & (kOsxsave | kAvx)) != (kOsxsave | kAvx)) return false;
  unsigned low, high;
  __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  if ((low & 6) != 6) return false;
  if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return false;
  return (ebx & (1u << 5)) != 0;
}

}  // namespace platform
