// Windows: creation, destruction, the window tree and what a window keeps.
#include "platform/posix/window_system.h"

#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>

#include "platform/hooks.h"
#include "platform/posix/termination_signals.h"
#include "platform/window.h"

namespace platform {
namespace windowing {

WindowSystem& System() {
  static WindowSystem system;
  return system;
}

namespace {

// Where a window with this handle sits or would sit in the list of windows, which is in the
// order of their handles.
size_t WindowIndex(HWND window) {
  const PlainList<Window*>& windows = System().windows;
  size_t low = 0, high = windows.size();
  while (low < high) {
    size_t middle = low + (high - low) / 2;
    if (reinterpret_cast<uintptr_t>(windows[middle]->handle) <
        reinterpret_cast<uintptr_t>(window)) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

}  // namespace

Window* WindowOf(HWND window) {
  const PlainList<Window*>& windows = System().windows;
  size_t at = WindowIndex(window);
  return at < windows.size() && windows[at]->handle == window ? windows[at] : nullptr;
}

void SetText(Window& window, const char* text) {
  char* copy = text != nullptr && *text != '\0' ? CopyText(text) : nullptr;
  std::free(window.text);
  window.text = copy;
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

PlainList<HWND>& SiblingsOf(const Window& window) {
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
  PlainList<HWND>& siblings = SiblingsOf(window);
  size_t at = 0;
  if (window.parent == nullptr && !(window.exStyle & WS_EX_TOPMOST)) {
    // Ordinary top-level windows go below the topmost ones.
    while (at < siblings.size() && (WindowOf(siblings[at])->exStyle & WS_EX_TOPMOST)) ++at;
  }
  siblings.Insert(at, window.handle);
}

void Unlink(const Window& window) {
  PlainList<HWND>& siblings = SiblingsOf(window);
  siblings.Erase(siblings.IndexOf(window.handle));
}

// Drops the messages posted to a window.
void DropPosted(HWND window) {
  PlainList<MSG>& posted = System().posted;
  size_t kept = 0;
  for (size_t i = 0; i < posted.size(); ++i) {
    if (posted[i].hwnd != window) posted[kept++] = posted[i];
  }
  posted.Truncate(kept);
}

// The window's record and what it holds, out of the list of windows.
void Forget(HWND window) {
  PlainList<Window*>& windows = System().windows;
  size_t at = WindowIndex(window);
  Window* w = windows[at];
  windows.Erase(at);
  std::free(w->text);
  w->children.Release();
  std::free(w);
}

// Calls each of the window's children as they are now; the list may change meanwhile.
void ForEachChild(const Window& window, void (*call)(HWND child)) {
  PlainList<HWND> children;
  children.CopyFrom(window.children);
  for (HWND child : children) call(child);
  children.Release();
}

// The second pass of destruction: children first, then the window itself is gone.
void FinishDestroy(HWND window) {
  Window* w = WindowOf(window);
  if (w == nullptr) return;
  ForEachChild(*w, FinishDestroy);
  Send(window, WM_NCDESTROY, 0, 0);
  w = WindowOf(window);
  if (w == nullptr) return;
  Unlink(*w);
  DropPosted(window);
  Forget(window);
  if (System().topLevel.empty()) UnwatchTerminationSignals();
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
  ForEachChild(*w, SendDestroy);
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
  Window* window = new (Reallocate(nullptr, sizeof(Window))) Window{};
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
  system.windows.Append(window);  // the newest handle is the highest
  windowing::Link(*window);
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
  PlainList<HWND> owned;
  for (const Window* other : System().windows) {
    if (other->owner == window) owned.Append(other->handle);
  }
  for (HWND o : owned) DestroyWindow(o);
  owned.Release();
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
  const char* name = w->windowClass->name;
  size_t length = std::strlen(name);
  if (length > static_cast<size_t>(size) - 1) length = static_cast<size_t>(size) - 1;
  std::memcpy(className, name, length);
  className[length] = '\0';
  return static_cast<int>(length);
}

HWND GetWindow(HWND window, UINT relation) {
  Window* w = windowing::LiveWindow(window);
  if (w == nullptr) return nullptr;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children[0];
  if (relation == GW_OWNER) return w->owner;
  PlainList<HWND>& siblings = windowing::SiblingsOf(*w);
  size_t at = siblings.IndexOf(window);
  switch (relation) {
    case GW_HWNDFIRST:
      return siblings[0];
    case GW_HWNDLAST:
      return siblings.back();
    case GW_HWNDNEXT:
      return at + 1 == siblings.size() ? nullptr : siblings[at + 1];
    case GW_HWNDPREV:
      return at == 0 ? nullptr : siblings[at - 1];
    default:
      return nullptr;
  }
}

HWND FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName) {
  const PlainList<HWND>* list = &System().topLevel;
  if (parent != nullptr) {
    Window* p = windowing::LiveWindow(parent);
    if (p == nullptr) return nullptr;
    list = &p->children;
  }
  size_t at = 0;
  if (childAfter != nullptr) {
    at = list->IndexOf(childAfter);
    if (at == list->size()) return nullptr;
    ++at;
  }
  for (; at < list->size(); ++at) {
    Window* w = WindowOf((*list)[at]);
    if (className && strcasecmp(w->windowClass->name, className) != 0) continue;
    if (windowName && std::strcmp(windowing::TextOf(*w), windowName) != 0) continue;
    return (*list)[at];
  }
  return nullptr;
}

}  // namespace platform
