// Message boxes of the platform seam.
#pragma once

#include "platform/types.h"

namespace platform {

// On POSIX the caption and text go to standard error and the default button is the answer.
// On both backends the test hooks may script the answer and capture what was shown.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

}  // namespace platform
