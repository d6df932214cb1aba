// Common controls of the platform seam: the toolbar ("ToolbarWindow32") and tooltip
// ("tooltips_class32") window classes and their initialisation.
// On POSIX the two controls keep their buttons and tools and answer the query messages
// (TB_BUTTONCOUNT, TB_GETBUTTON, TB_GETTOOLTIPS, TTM_GETTOOLCOUNT, TTM_ENUMTOOLSA).
#pragma once

#include "platform/types.h"
#ifdef _WIN32
#include <commctrl.h>
#endif

namespace platform {

void InitCommonControls();
// FALSE when the record's dwSize is not the size of INITCOMMONCONTROLSEX.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls);

}  // namespace platform
