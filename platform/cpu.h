// Processor queries of the platform seam.
#pragma once

namespace platform {

// CPUID leaf 1, EDX bit 26 (or the value faked by the test hook).
bool ProcessorHasSse2();

// AVX2 instructions can run: CPUID leaf 7 reports them and the system saves the 256-bit
// registers (CPUID leaf 1 OSXSAVE and AVX, XGETBV bits 1 and 2).
bool ProcessorHasAvx2();

}  // namespace platform
