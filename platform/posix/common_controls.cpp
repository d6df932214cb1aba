#include "platform/common_controls.h"

namespace platform {

// The control classes are always registered (see window_class.cpp); initialising them only
// checks the record.
void InitCommonControls() {}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) {
  return controls != nullptr && controls->dwSize == sizeof(INITCOMMONCONTROLSEX);
}

}  // namespace platform
