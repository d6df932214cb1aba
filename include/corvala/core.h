// Runtime core: start-up and shared state, temporary result slots and the scratch area,
// the counted heap and the fatal-error path, the array and file tables.
#pragma once

#include <cstdint>

#include "corvala/types.h"

namespace corvala {

// --- Start-up and shared state -------------------------------------------------------------

// Checks the processor for SSE2 (without it: the box "Sorry, Corvala needs SSE2" and exit
// code -99), fills shared-string ids 0 to 7 (id 6 is the program's folder with its trailing
// separator) and the bit-count table. Runs by itself whenever a routine touches the slot
// ring before the ring first moves; running it again rewrites the same values.
void RuntimeStartup();

// The shared string table: ids 0 to 9, then temporary slot k at id 10 + k. The second word
// of id 9 is the ring index.
const TextRecord* SharedStringTable();
// Entry b is the number of set bits in the byte value b.
const uint8_t* BitCountTable();
// The program's folder, zero-terminated, ending with its separator (or empty).
const char* ModuleFolder();

// The "Common data" block: a 16-byte tag, fifteen word entries (entry n at index n - 1),
// then the date and time formats. Entry 6 is the default number of significant digits.
struct CommonDataBlockView {
  const char* tag;
  const Word* entries;
  const char* dateFormat;
  const char* timeFormat;
};
CommonDataBlockView CommonData();

}  // namespace corvala
