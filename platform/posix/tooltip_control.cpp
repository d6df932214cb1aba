// The tooltip control ("tooltips_class32"): keeps its tools and answers for them. It never
// shows a tip: there is no pointer to hover with.
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

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
  std::string text;
  LPARAM lParam;
};

std::map<HWND, std::vector<Tool>>& Tooltips() {
  static std::map<HWND, std::vector<Tool>> tooltips;
  return tooltips;
}

// The smallest record the control accepts ends with lpszText; lParam needs the longer one.
bool HasText(const TTTOOLINFOA* info) { return info->cbSize >= TTTOOLINFOA_V1_SIZE; }
bool HasLParam(const TTTOOLINFOA* info) { return info->cbSize >= TTTOOLINFOA_V2_SIZE; }

// A caller's text buffer is assumed to hold the 80 characters a tip may have.
constexpr size_t kTextBufferSize = 80;

LRESULT AddTool(std::vector<Tool>& tools, const TTTOOLINFOA* info) {
  if (info == nullptr || !HasText(info)) return FALSE;
  Tool tool{info->uFlags, info->hwnd, info->uId, info->rect, info->hinst, nullptr, {}, 0};
  LPSTR text = info->lpszText;
  if (text == LPSTR_TEXTCALLBACKA || (text != nullptr && IS_INTRESOURCE(text))) {
    tool.textHandle = text;
  } else if (text != nullptr) {
    tool.text = text;
  }
  if (HasLParam(info)) tool.lParam = info->lParam;
  tools.push_back(tool);
  return TRUE;
}

LRESULT EnumTool(const std::vector<Tool>& tools, WPARAM index, TTTOOLINFOA* info) {
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
    size_t length = std::min(tool.text.size(), kTextBufferSize - 1);
    std::memcpy(info->lpszText, tool.text.data(), length);
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
    Tooltips()[window] = {};
  }
  if (message == WM_NCDESTROY) Tooltips().erase(window);
  auto found = Tooltips().find(window);
  if (found == Tooltips().end()) return DefWindowProcA(window, message, wParam, lParam);
  std::vector<Tool>& tools = found->second;
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
