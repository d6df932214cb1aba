// Windows: creation, destruction, the window tree and what a window keeps.
#include "platform/posix/window_system.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "platform/hooks.h"
#include "platform/posix/termination_signals.h"
#include "platform/window.h"

namespace platform {
namespace windowing {

WindowSystem& System() {
  static WindowSystem system;
  return system;
}

Window* WindowOf(HWND window) {
  auto& windows = System().windows;
  auto it = windows.find(reinterpret_cast<uintptr_t>(window));
  return it == windows.end() ? nullptr : it->second.get();
}

Window* LiveWindow(HWND window) {
  Window* w = WindowOf(window);
  if (w == nullptr) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = WindowOf(window);
  if (w == nullptr) return 0;
  return w->windowClass->procedure(window, message, wParam, lParam);
}

std::vector<HWND>& SiblingsOf(const Window& window) {
  if (window.parent != nullptr) return WindowOf(window.parent)->children;
  return System().topLevel;
}

DWORD MessageTime() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<DWORD>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

namespace {

HWND RootOf(HWND window) {
  Window* w = WindowOf(window);
  while (w != nullptr && w->parent != nullptr) w = WindowOf(w->parent);
  return w ? w->handle : nullptr;
}

void Link(Window& window) {
  std::vector<HWND>& siblings = SiblingsOf(window);
  auto at = siblings.begin();
  if (window.parent == nullptr && !(window.exStyle & WS_EX_TOPMOST)) {
    // Ordinary top-level windows go below the topmost ones.
    while (at != siblings.end() && (WindowOf(*at)->exStyle & WS_EX_TOPMOST)) ++at;
  }
  siblings.insert(at, window.handle);
}

void Unlink(const Window& window) {
  std::vector<HWND>& siblings = SiblingsOf(window);
  siblings.erase(std::find(siblings.begin(), siblings.end(), window.handle));
}

// The second pass of destruction: children first, then the window itself is gone.
void FinishDestroy(HWND window) {
  Window* w = WindowOf(window);
  if (w == nullptr) return;
  std::vector<HWND> children = w->children;
  for (HWND child : children) FinishDestroy(child);
  Send(window, WM_NCDESTROY, 0, 0);
  w = WindowOf(window);
  if (w == nullptr) return;
  Unlink(*w);
  WindowSystem& system = System();
  std::erase_if(system.posted, [window](const MSG& m) { return m.hwnd == window; });
  system.windows.erase(reinterpret_cast<uintptr_t>(window));
  if (system.topLevel.empty()) UnwatchTerminationSignals();
}

// WM_DESTROY goes to the window before its children.
void SendDestroy(HWND window) {
  Window* w = WindowOf(window);
  if (w == nullptr) return;
  w->destroying = true;
  w->style &= ~WS_VISIBLE;
  Send(window, WM_DESTROY, 0, 0);
  w = WindowOf(window);
  if (w == nullptr) return;
  std::vector<HWND> children = w->children;
  for (HWND child : children) SendDestroy(child);
}

}  // namespace
}  // namespace windowing

using windowing::System;
using windowing::Window;
using windowing::WindowOf;

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  const windowing::WindowClass* windowClass = windowing::FindClass(instance, className);
  if (windowClass == nullptr) return windowing::Fail(ERROR_CANNOT_FIND_WND_CLASS, HWND{});
  Window* parentWindow = nullptr;
  if (parent != nullptr) {
    parentWindow = windowing::LiveWindow(parent);
    if (parentWindow == nullptr) return nullptr;
  } else if (style & WS_CHILD) {
    return windowing::Fail(ERROR_TLW_WITH_WSCHILD, HWND{});
  }

  bool child = (style & WS_CHILD) != 0;
  if (!child && !(style & WS_POPUP)) style |= WS_CLIPSIBLINGS | WS_CAPTION;  // overlapped
  if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_DLGFRAME | WS_THICKFRAME))) {
    exStyle |= WS_EX_WINDOWEDGE;
  } else {
    exStyle &= ~WS_EX_WINDOWEDGE;
  }
  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) width = height = 0;

  windowing::WindowSystem& system = System();
  HWND handle = reinterpret_cast<HWND>(system.nextHandle);
  system.nextHandle += 2;
  auto window = std::make_unique<Window>();
  window->handle = handle;
  window->windowClass = windowClass;
  window->style = style;
  window->exStyle = exStyle;
  LONG left = x, top = y;
  if (child) {
    left += parentWindow->rect.left;
    top += parentWindow->rect.top;
  }
  window->rect = {left, top, left + width, top + height};
  window->parent = child ? parent : nullptr;
  window->owner = child ? nullptr : windowing::RootOf(parent);
  window->menu = menu;
  window->instance = instance;
  Window& created = *window;
  system.windows.emplace(reinterpret_cast<uintptr_t>(handle), std::move(window));
  windowing::Link(created);
  // While there are top-level windows, a terminal's signals close the main ones.
  if (!child) windowing::WatchTerminationSignals();

  CREATESTRUCTA create{
      param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
      windowName, className, exStyle};
  if (!windowing::Send(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
    windowing::FinishDestroy(handle);
    return nullptr;
  }
  if (WindowOf(handle) == nullptr) return nullptr;
  if (windowing::Send(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  return WindowOf(handle) ? handle : nullptr;
}

BOOL DestroyWindow(HWND window) {
  Window* w = windowing::LiveWindow(window);
  if (w == nullptr) return FALSE;
  if (w->destroying) return TRUE;
  w->destroying = true;
  // Owned windows go first.
  std::vector<HWND> owned;
  for (const auto& [key, other] : System().windows) {
    if (other->owner == window) owned.push_back(other->handle);
  }
  for (HWND o : owned) DestroyWindow(o);
  windowing::SendDestroy(window);
  windowing::FinishDestroy(window);
  return TRUE;
}

BOOL IsWindow(HWND window) { return WindowOf(window) != nullptr; }

BOOL ShowWindow(HWND window, int showCommand) {
  Window* w = windowing::LiveWindow(window);
  if (w == nullptr) return FALSE;
  bool wasVisible = (w->style & WS_VISIBLE) != 0;
  bool visible = showCommand != SW_HIDE;
  if (visible == wasVisible) return wasVisible;
  if (visible) {
    w->style |= WS_VISIBLE;
  } else {
    w->style &= ~WS_VISIBLE;
  }
  windowing::Send(window, WM_SHOWWINDOW, visible, 0);
  return wasVisible;
}

// Nothing is ever drawn, so there is never anything to paint.
BOOL UpdateWindow(HWND window) { return windowing::LiveWindow(window) != nullptr; }

int GetSystemMetrics(int index) {
  const hooks::ScreenSize* faked = hooks::FakedScreenSize();
  if (index == SM_CXSCREEN) return faked ? faked->width : 1024;
  if (index == SM_CYSCREEN) return faked ? faked->height : 768;
  return 0;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
  Window* w = windowing::LiveWindow(window);
  if (w == nullptr || rect == nullptr) return FALSE;
  *rect = w->rect;
  return TRUE;
}

LONG GetWindowLongA(HWND window, int index) {
  Window* w = windowing::LiveWindow(window);
  if (w == nullptr) return 0;
  switch (index) {
    case GWL_STYLE:
      return static_cast<LONG>(w->style);
    case GWL_EXSTYLE:
      return static_cast<LONG>(w->exStyle);
    case GWL_ID:
      return static_cast<LONG>(reinterpret_cast<uintptr_t>(w->menu));
    default:
      return 0;
  }
}

int GetClassNameA(HWND window, LPSTR className, int size) {
  Window* w = windowing::LiveWindow(window);
  if (w == nullptr || className == nullptr || size <= 0) return 0;
  const std::string& name = w->windowClass->name;
  size_t length = std::min(name.size(), static_cast<size_t>(size) - 1);
  std::memcpy(className, name.data(), length);
  className[length] = '\0';
  return static_cast<int>(length);
}

HWND GetWindow(HWND window, UINT relation) {
  Window* w = windowing::LiveWindow(window);
  if (w == nullptr) return nullptr;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (relation == GW_OWNER) return w->owner;
  const std::vector<HWND>& siblings = windowing::SiblingsOf(*w);
  auto at = std::find(siblings.begin(), siblings.end(), window);
  switch (relation) {
    case GW_HWNDFIRST:
      return siblings.front();
    case GW_HWNDLAST:
      return siblings.back();
    case GW_HWNDNEXT:
      return at + 1 == siblings.end() ? nullptr : *(at + 1);
    case GW_HWNDPREV:
      return at == siblings.begin() ? nullptr : *(at - 1);
    default:
      return nullptr;
  }
}

HWND FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName) {
  const std::vector<HWND>* list = &System().topLevel;
  if (parent != nullptr) {
    Window* p = windowing::LiveWindow(parent);
    if (p == nullptr) return nullptr;
    list = &p->children;
  }
  auto at = list->begin();
  if (childAfter != nullptr) {
    at = std::find(list->begin(), list->end(), childAfter);
    if (at == list->end()) return nullptr;
    ++at;
  }
  for (; at != list->end(); ++at) {
    Window* w = WindowOf(*at);
    if (className && strcasecmp(w->windowClass->name.c_str(), className) != 0) continue;
    if (windowName && w->text != windowName) continue;
    return *at;
  }
  return nullptr;
}

}  // namespace platform
