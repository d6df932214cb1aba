#include "platform/common_controls.h"

namespace platform {

void InitCommonControls() { ::InitCommonControls(); }
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) {
  return ::InitCommonControlsEx(controls);
}

}  // namespace platform
