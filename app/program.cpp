#include "app/main_window.h"
#include "platform/common_controls.h"
#include "platform/process.h"

namespace app {
namespace {

const INITCOMMONCONTROLSEX kCommonControls = {sizeof(INITCOMMONCONTROLSEX),
                                              ICC_BAR_CLASSES | ICC_COOL_CLASSES};

}  // namespace

int RunProgram() {
  g_program.moduleInstance = platform::GetModuleHandleA(nullptr);
  platform::InitCommonControlsEx(&kCommonControls);
  return RunMainWindow(g_program.moduleInstance, nullptr, nullptr, SW_SHOWNORMAL);
}

void ProgramEntry() { platform::ExitProcess(static_cast<UINT>(RunProgram())); }

}  // namespace app
