// Windows, window classes and the message queue of the platform seam.
// On Windows these forward to user32. On POSIX they are an in-memory window system with
// no screen: windows keep their class, styles, rectangle, text and place in the window
// tree, messages are sent and posted as on Windows, and nothing is ever drawn.
#pragma once

#include "platform/types.h"

namespace platform {

// Classes ------------------------------------------------------------------------------
// Fails (0) on a wrong cbSize, a missing name or a name the instance already registered.
ATOM RegisterClassExA(const WNDCLASSEXA* windowClass);
// Fills the record (cbSize is left as the caller set it); 0 when there is no such class.
BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR className, WNDCLASSEXA* windowClass);
// Shared system icons and cursors by id (null instance); no module carries its own.
HICON LoadIconA(HINSTANCE instance, LPCSTR iconName);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName);

// Windows ------------------------------------------------------------------------------
// Sends WM_NCCREATE and WM_CREATE with the CREATESTRUCTA before it returns.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
// Destroys owned windows first, then sends WM_DESTROY to the window and its children.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
// Returns whether the window was visible before.
BOOL ShowWindow(HWND window, int showCommand);
BOOL UpdateWindow(HWND window);
int GetSystemMetrics(int index);
BOOL GetWindowRect(HWND window, RECT* rect);
LONG GetWindowLongA(HWND window, int index);
int GetClassNameA(HWND window, LPSTR className, int size);
// Window texts go through WM_SETTEXT and WM_GETTEXT. The windows are ANSI windows, so a
// wide text passes the ANSI code page on its way in and out (unmapped characters become '?').
BOOL SetWindowTextA(HWND window, LPCSTR text);
BOOL SetWindowTextW(HWND window, LPCWSTR text);
int GetWindowTextA(HWND window, LPSTR text, int size);
int GetWindowTextW(HWND window, LPWSTR text, int size);
// Walks the window tree: GW_CHILD, GW_HWNDNEXT, GW_HWNDPREV, GW_HWNDFIRST, GW_HWNDLAST, GW_OWNER.
HWND GetWindow(HWND window, UINT relation);
// The next child of parent (top-level windows for a null parent) after childAfter whose class
// and text match; a null class or text matches any.
HWND FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName);

// Messages -----------------------------------------------------------------------------
// Returns 0 for WM_QUIT, -1 for an invalid window filter, otherwise nonzero.
BOOL GetMessageA(MSG* message, HWND window, UINT firstMessage, UINT lastMessage);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// WM_CLOSE destroys the window; WM_NCCREATE and WM_SETTEXT keep the text, WM_GETTEXT and
// WM_GETTEXTLENGTH read it.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform
