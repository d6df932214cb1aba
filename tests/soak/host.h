// What the soak program asks of the machine it runs on, outside the runtime's own seam: its
// resident memory and a console whose output goes nowhere.
#pragma once

#include <cstdint>

namespace corvala::soak {

// The process's resident memory in bytes (the working set on Windows), 0 when unknown.
uint64_t ResidentBytes();

// Points standard output at the null device, so that console builds cost no terminal time.
void SilenceConsole();

}  // namespace corvala::soak
