// Files and output: file numbers, the text builder and its targets, storing, comparing, file
// queries, the command line and resource strings.
#pragma once

#include <cstdint>

#include "corvala/types.h"

namespace corvala {

// --- Command line and resource strings ------------------------------------------------------

// Argument `index` of the command line (0: the program as written), split by the runtime's
// own rules: blanks and control characters separate arguments, and the character before an
// argument (a space when none) ends it; an argument that begins with one of ! " # $ % & '
// runs to the next of the same character, which is dropped. Returns the argument's text in
// a new temporary slot, or null when there is no such argument or its quote is never
// closed; the slot then reads "?". An argument longer than the scratch area's room is cut.
const char* CommandLineArg(int32_t index);

// String resource `id` of the program's own module in a new temporary slot: byte text for
// an id of 0 or more, UTF-16 text of resource -id for a negative id (the returned address
// then points at char16_t). The slot's length is in bytes. A missing string shows the
// platform's message (ReportApiFailure) and gives the empty text.
const char* ResourceString(int32_t id);

}  // namespace corvala
