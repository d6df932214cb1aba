// The tooltip control ("tooltips_class32"): keeps its tools and answers for them. It never
// shows a tip: there is no pointer to hover with.
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/common_controls.h"
#include "platform/posix/window_system.h"
#include "platform/window.h"

namespace platform::windowing {
namespace {

struct Tool {
  UINT flags;
  HWND window;
  UINT_PTR id;
  RECT rect;
  HINSTANCE instance;
  LPSTR textHandle;  // LPSTR_TEXTCALLBACKA or a string resource id; null for a kept text
  char* text;        // malloc'd; null for ""
  LPARAM lParam;
};

struct Tooltip {
  HWND window;
  PlainList<Tool> tools;
};

// The living tooltip controls, each malloc'd.
PlainList<Tooltip*>& Tooltips() {
  static PlainList<Tooltip*> tooltips;
  return tooltips;
}

size_t TooltipIndex(HWND window) {
  size_t at = 0;
  while (at < Tooltips().size() && Tooltips()[at]->window != window) ++at;
  return at;
}

void Forget(HWND window) {
  size_t at = TooltipIndex(window);
  if (at == Tooltips().size()) return;
  Tooltip* tooltip = Tooltips()[at];
  for (Tool& tool : tooltip->tools) std::free(tool.text);
  tooltip->tools.Release();
  std::free(tooltip);
  Tooltips().Erase(at);
}

void Create(HWND window) {
  Forget(window);
  auto* tooltip = static_cast<Tooltip*>(Reallocate(nullptr, sizeof(Tooltip)));
  new (tooltip) Tooltip{window, {}};
  Tooltips().Append(tooltip);
}

// The smallest record the control accepts ends with lpszText; lParam needs the longer one.
bool HasText(const TTTOOLINFOA* info) { return info->cbSize >= TTTOOLINFOA_V1_SIZE; }
bool HasLParam(const TTTOOLINFOA* info) { return info->cbSize >= TTTOOLINFOA_V2_SIZE; }

// A caller's text buffer is assumed to hold the 80 characters a tip may have.
constexpr size_t kTextBufferSize = 80;

LRESULT AddTool(PlainList<Tool>& tools, const TTTOOLINFOA* info) {
  if (info == nullptr || !HasText(info)) return FALSE;
  Tool tool{info->uFlags, info->hwnd, info->uId, info->rect, info->hinst, nullptr, nullptr, 0};
  LPSTR text = info->lpszText;
  if (text == LPSTR_TEXTCALLBACKA || (text != nullptr && IS_INTRESOURCE(text))) {
    tool.textHandle = text;
  } else if (text != nullptr) {
    tool.text = CopyText(text);
  }
  if (HasLParam(info)) tool.lParam = info->lParam;
  tools.Append(tool);
  return TRUE;
}

LRESULT EnumTool(const PlainList<Tool>& tools, WPARAM index, TTTOOLINFOA* info) {
  if (info == nullptr || !HasText(info) || index >= tools.size()) return FALSE;
  const Tool& tool = tools[index];
  info->uFlags = tool.flags;
  info->hwnd = tool.window;
  info->uId = tool.id;
  info->rect = tool.rect;
  info->hinst = tool.instance;
  if (tool.textHandle != nullptr) {
    info->lpszText = tool.textHandle;
  } else if (info->lpszText != nullptr) {
    const char* kept = tool.text != nullptr ? tool.text : "";
    size_t length = std::strlen(kept);
    if (length > kTextBufferSize - 1) length = kTextBufferSize - 1;
    std::memcpy(info->lpszText, kept, length);
    info->lpszText[length] = '\0';
  }
  if (HasLParam(info)) info->lParam = tool.lParam;
  return TRUE;
}

}  // namespace

LRESULT CALLBACK TooltipProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // A tip floats above everything: the control makes itself a popup tool window, even
    // when it was created as a child (it stays in its parent's list of children then).
    Window* w = WindowOf(window);
    w->style = (w->style & ~WS_CHILD) | WS_POPUP;
    w->exStyle |= WS_EX_TOOLWINDOW;
    Create(window);
  }
  if (message == WM_NCDESTROY) Forget(window);
  size_t at = TooltipIndex(window);
  if (at == Tooltips().size()) return DefWindowProcA(window, message, wParam, lParam);
  PlainList<Tool>& tools = Tooltips()[at]->tools;
  switch (message) {
    case TTM_ADDTOOLA:
      return AddTool(tools, reinterpret_cast<const TTTOOLINFOA*>(lParam));
    case TTM_GETTOOLCOUNT:
      return static_cast<LRESULT>(tools.size());
    case TTM_ENUMTOOLSA:
      return EnumTool(tools, wParam, reinterpret_cast<TTTOOLINFOA*>(lParam));
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace platform::windowing
