#include "platform/window.h"

#include "platform/hooks.h"

namespace platform {

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) { return ::RegisterClassExA(windowClass); }
BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR className, WNDCLASSEXA* windowClass) {
  return ::GetClassInfoExA(instance, className, windowClass);
}
HICON LoadIconA(HINSTANCE instance, LPCSTR iconName) { return ::LoadIconA(instance, iconName); }
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName) {
  return ::LoadCursorA(instance, cursorName);
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  return ::CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent, menu,
                           instance, param);
}
BOOL DestroyWindow(HWND window) { return ::DestroyWindow(window); }
BOOL IsWindow(HWND window) { return ::IsWindow(window); }
BOOL ShowWindow(HWND window, int showCommand) { return ::ShowWindow(window, showCommand); }
BOOL UpdateWindow(HWND window) { return ::UpdateWindow(window); }

int GetSystemMetrics(int index) {
  // The screen size hook stands in for the real screen here too.
  if (const hooks::ScreenSize* screen = hooks::FakedScreenSize()) {
    if (index == SM_CXSCREEN) return screen->width;
    if (index == SM_CYSCREEN) return screen->height;
  }
  return ::GetSystemMetrics(index);
}

BOOL GetWindowRect(HWND window, RECT* rect) { return ::GetWindowRect(window, rect); }
LONG GetWindowLongA(HWND window, int index) { return ::GetWindowLongA(window, index); }
int GetClassNameA(HWND window, LPSTR className, int size) {
  return ::GetClassNameA(window, className, size);
}
BOOL SetWindowTextA(HWND window, LPCSTR text) { return ::SetWindowTextA(window, text); }
BOOL SetWindowTextW(HWND window, LPCWSTR text) { return ::SetWindowTextW(window, text); }
int GetWindowTextA(HWND window, LPSTR text, int size) {
  return ::GetWindowTextA(window, text, size);
}
int GetWindowTextW(HWND window, LPWSTR text, int size) {
  return ::GetWindowTextW(window, text, size);
}
HWND GetWindow(HWND window, UINT relation) { return ::GetWindow(window, relation); }
HWND FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName) {
  return ::FindWindowExA(parent, childAfter, className, windowName);
}

BOOL GetMessageA(MSG* message, HWND window, UINT firstMessage, UINT lastMessage) {
  return ::GetMessageA(message, window, firstMessage, lastMessage);
}
BOOL TranslateMessage(const MSG* message) { return ::TranslateMessage(message); }
LRESULT DispatchMessageA(const MSG* message) { return ::DispatchMessageA(message); }
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageA(window, message, wParam, lParam);
}
void PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageA(window, message, wParam, lParam);
}
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace platform
