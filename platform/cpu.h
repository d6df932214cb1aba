// Processor queries of the platform seam.
#pragma once

namespace platform {

// CPUID leaf 1, EDX bit 26 (or the value faked by the test hook).
bool ProcessorHasSse2();

}  // namespace platform
