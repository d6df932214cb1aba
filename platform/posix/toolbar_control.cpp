// The toolbar control ("ToolbarWindow32"): keeps its buttons and the tooltip control it was
// handed. It draws nothing and lays nothing out.
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/common_controls.h"
#include "platform/posix/window_system.h"
#include "platform/window.h"

namespace platform::windowing {
namespace {

struct Toolbar {
  HWND window;
  PlainList<TBBUTTON> buttons;
  WPARAM buttonStructSize;
  HWND tooltips;
};

// The living toolbars, each malloc'd.
PlainList<Toolbar*>& Toolbars() {
  static PlainList<Toolbar*> toolbars;
  return toolbars;
}

size_t ToolbarIndex(HWND window) {
  size_t at = 0;
  while (at < Toolbars().size() && Toolbars()[at]->window != window) ++at;
  return at;
}

void Forget(HWND window) {
  size_t at = ToolbarIndex(window);
  if (at == Toolbars().size()) return;
  Toolbars()[at]->buttons.Release();
  std::free(Toolbars()[at]);
  Toolbars().Erase(at);
}

void Create(HWND window) {
  Forget(window);
  auto* toolbar = static_cast<Toolbar*>(Reallocate(nullptr, sizeof(Toolbar)));
  new (toolbar) Toolbar{window, {}, sizeof(TBBUTTON), nullptr};
  Toolbars().Append(toolbar);
}

}  // namespace

LRESULT CALLBACK ToolbarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) Create(window);
  if (message == WM_NCDESTROY) Forget(window);
  size_t at = ToolbarIndex(window);
  if (at == Toolbars().size()) return DefWindowProcA(window, message, wParam, lParam);
  Toolbar& toolbar = *Toolbars()[at];
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
        toolbar.buttons.Append(button);
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
