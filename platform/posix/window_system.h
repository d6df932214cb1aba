// The in-memory window system behind platform/window.h on POSIX: one process-wide record
// of classes, windows and posted messages, shared by the files that implement the calls.
#pragma once

#include <cstdint>

#include "platform/errors.h"
#include "platform/plain_list.h"
#include "platform/types.h"

namespace platform::windowing {

struct WindowClass {
  const char* name;
  ATOM atom;
  UINT style;
  WNDPROC procedure;
  int classExtra;
  int windowExtra;
  HINSTANCE instance;  // null for the system classes
  HICON icon;
  HCURSOR cursor;
  HBRUSH background;
  LPCSTR menuName;
  HICON smallIcon;
};

struct Window {
  HWND handle;
  const WindowClass* windowClass;
  DWORD style;
  DWORD exStyle;
  RECT rect;    // screen coordinates; there is no non-client area, so children sit at the corner
  HWND parent;  // null for a top-level window
  HWND owner;   // the top-level window that owns a popup or overlapped window
  HMENU menu;   // the child id of a child window
  HINSTANCE instance;
  char* text;                // ANSI (these are ANSI windows), malloc'd; null for ""
  PlainList<HWND> children;  // in Z order, topmost first
  bool destroying;
};

struct WindowSystem {
  PlainList<WindowClass*> classes;  // malloc'd, with their names; classes are never removed
  ATOM nextAtom = 0xC010;           // registered atoms sit in the range Windows uses for them
  PlainList<Window*> windows;       // malloc'd, in the order of their handles
  PlainList<HWND> topLevel;         // in Z order, topmost first
  uintptr_t nextHandle = 0x10020;
  PlainList<MSG> posted;
  bool quitPosted = false;
  int quitCode = 0;
};

WindowSystem& System();

// Null for a handle that names no living window.
Window* WindowOf(HWND window);
// The same for the public calls: a dead handle also sets ERROR_INVALID_WINDOW_HANDLE.
Window* LiveWindow(HWND window);
// Sets the last error and returns the failure value.
template <typename T>
T Fail(DWORD error, T result) {
  SetLastError(error);
  return result;
}
// The instance's own classes first, then global registered classes, then the system classes.
const WindowClass* FindClass(HINSTANCE instance, LPCSTR name);
// Calls the window's procedure; 0 for a handle that names no living window.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The siblings list the window sits in: its parent's children or the top-level windows.
PlainList<HWND>& SiblingsOf(const Window& window);
// Posts WM_CLOSE to every top-level window without an owner; false when there is none.
bool PostCloseToMainWindows();
DWORD MessageTime();

// A window's text, "" when it has none.
inline const char* TextOf(const Window& window) { return window.text ? window.text : ""; }
// Replaces a window's text with a copy of text (null for "").
void SetText(Window& window, const char* text);

// The common control classes.
LRESULT CALLBACK ToolbarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TooltipProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::windowing
