// Asks a running toolbar program to close, the way a user closing its window would:
// WM_CLOSE to its main window. Exits with 0 when the message was posted, 1 when no main
// window was found.
#include "platform/window.h"

int main() {
  HWND window = platform::FindWindowExA(nullptr, nullptr, "MainWindowClass", "Toolbar tooltips");
  return window != nullptr && platform::PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
}
