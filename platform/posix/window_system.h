// The in-memory window system behind platform/window.h on POSIX: one process-wide record
// of classes, windows and posted messages, shared by the files that implement the calls.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/types.h"

namespace platform::windowing {

struct WindowClass {
  std::string name;
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
  std::string text;            // ANSI: these are ANSI windows
  std::vector<HWND> children;  // in Z order, topmost first
  bool destroying = false;
};

struct WindowSystem {
  std::vector<std::unique_ptr<WindowClass>> classes;
  ATOM nextAtom = 0xC010;  // registered atoms sit in the range Windows uses for them
  std::map<uintptr_t, std::unique_ptr<Window>> windows;
  std::vector<HWND> topLevel;  // in Z order, topmost first
  uintptr_t nextHandle = 0x10020;
  std::deque<MSG> posted;
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
std::vector<HWND>& SiblingsOf(const Window& window);
// Posts WM_CLOSE to every top-level window without an owner; false when there is none.
bool PostCloseToMainWindows();
DWORD MessageTime();

// ANSI code page 1252 conversions for wide window texts (unmapped characters become '?').
std::string WideToAnsi(const WCHAR* text);
std::u16string AnsiToWide(const std::string& text);

// The common control classes.
LRESULT CALLBACK ToolbarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TooltipProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::windowing
