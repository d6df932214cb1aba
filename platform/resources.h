// String resources of the platform seam.
#pragma once

#include <cstddef>

#include "platform/types.h"

namespace platform {

// Loads string resource `id` of `module` into `buffer` (at most max - 1 characters and a
// terminator) and returns the number of characters, or 0 (with the last error set) when
// the module has no such string.
int LoadStringA(HINSTANCE module, UINT id, LPSTR buffer, int max);
int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int max);

// POSIX programs carry their string table as data generated at build time from the same
// resource script that Windows builds compile (see corvala_add_string_table in CMake).
// Texts are UTF-8; LoadStringA gives them in code page 1252, LoadStringW in UTF-16. On
// Windows the module's compiled resources serve and registering does nothing.
struct StringResource {
  UINT id;
  const char* text;
};
void RegisterStringTable(const StringResource* entries, size_t count);

}  // namespace platform
