// Functions of the system's C runtime library that the runtime relies on for their exact
// behaviour.
#pragma once

namespace platform {

// Compares two zero-terminated texts ignoring letter case: the bytes are compared as unsigned
// values after A to Z are mapped to a to z (the C locale). Negative, zero or positive.
int _stricmp(const char* a, const char* b);

}  // namespace platform
