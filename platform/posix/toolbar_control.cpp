// The toolbar control ("ToolbarWindow32"): keeps its buttons and the tooltip control it was
// handed. It draws nothing and lays nothing out.
#include <cstring>
#include <map>
#include <vector>

#include "platform/common_controls.h"
#include "platform/posix/window_system.h"
#include "platform/window.h"

namespace platform::windowing {
namespace {

struct Toolbar {
  std::vector<TBBUTTON> buttons;
  WPARAM buttonStructSize = sizeof(TBBUTTON);
  HWND tooltips = nullptr;
};

std::map<HWND, Toolbar>& Toolbars() {
  static std::map<HWND, Toolbar> toolbars;
  return toolbars;
}

}  // namespace

LRESULT CALLBACK ToolbarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) Toolbars()[window] = Toolbar{};
  if (message == WM_NCDESTROY) Toolbars().erase(window);
  auto found = Toolbars().find(window);
  if (found == Toolbars().end()) return DefWindowProcA(window, message, wParam, lParam);
  Toolbar& toolbar = found->second;
  switch (message) {
    case TB_BUTTONSTRUCTSIZE:
      toolbar.buttonStructSize = wParam;
      return 0;
    case TB_ADDBUTTONSA: {
      const auto* buttons = reinterpret_cast<const TBBUTTON*>(lParam);
      if (buttons == nullptr && wParam != 0) return FALSE;
      for (WPARAM i = 0; i < wParam; ++i) {
        TBBUTTON button = buttons[i];
        std::memset(button.bReserved, 0, sizeof button.bReserved);
        toolbar.buttons.push_back(button);
      }
      return TRUE;
    }
    case TB_BUTTONCOUNT:
      return static_cast<LRESULT>(toolbar.buttons.size());
    case TB_GETBUTTON: {
      auto* button = reinterpret_cast<TBBUTTON*>(lParam);
      if (button == nullptr || wParam >= toolbar.buttons.size()) return FALSE;
      *button = toolbar.buttons[wParam];
      return TRUE;
    }
    case TB_SETTOOLTIPS:
      toolbar.tooltips = reinterpret_cast<HWND>(wParam);
      return 0;
    case TB_GETTOOLTIPS:
      return reinterpret_cast<LRESULT>(toolbar.tooltips);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace platform::windowing
