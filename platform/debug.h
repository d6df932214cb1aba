// Debugger contact of the platform seam.
#pragma once

#include "platform/types.h"

namespace platform {

// Non-zero when a debugger is attached to the process (on POSIX: a tracer).
BOOL IsDebuggerPresent();
// Stops in the attached debugger; call it only when one is present (without one the
// process would end).
void DebugBreak();

}  // namespace platform
