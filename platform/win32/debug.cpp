#include "platform/debug.h"

namespace platform {

BOOL IsDebuggerPresent() { return ::IsDebuggerPresent(); }
void DebugBreak() { ::DebugBreak(); }

}  // namespace platform
