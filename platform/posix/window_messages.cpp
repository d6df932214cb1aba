// The message queue, sent messages and the default window procedure.
#include <cstring>

#include "platform/posix/termination_signals.h"
#include "platform/posix/window_system.h"
#include "platform/window.h"

namespace platform {
namespace windowing {

bool PostCloseToMainWindows() {
  bool any = false;
  for (HWND window : System().topLevel) {
    if (WindowOf(window)->owner == nullptr) {
      PostMessageA(window, WM_CLOSE, 0, 0);
      any = true;
    }
  }
  return any;
}

namespace {

bool IsSelfOrDescendant(HWND window, HWND ancestor) {
  for (Window* w = WindowOf(window); w != nullptr; w = WindowOf(w->parent)) {
    if (w->handle == ancestor) return true;
  }
  return false;
}

bool Matches(const MSG& m, HWND filter, UINT first, UINT last) {
  if (filter != nullptr && !IsSelfOrDescendant(m.hwnd, filter)) return false;
  if (first == 0 && last == 0) return true;
  return m.message >= first && m.message <= last;
}

}  // namespace
}  // namespace windowing

using windowing::System;
using windowing::WindowOf;

BOOL GetMessageA(MSG* message, HWND window, UINT firstMessage, UINT lastMessage) {
  if (message == nullptr) return -1;
  if (window != nullptr && windowing::LiveWindow(window) == nullptr) return -1;
  windowing::WindowSystem& system = System();
  for (;;) {
    int signal;
    if (windowing::TakeTerminationSignal(&signal) && !windowing::PostCloseToMainWindows()) {
      windowing::DieOfSignal(signal);  // no window left to close
    }
    size_t posted = 0;
    while (posted < system.posted.size() &&
           !windowing::Matches(system.posted[posted], window, firstMessage, lastMessage)) {
      ++posted;
    }
    if (posted < system.posted.size()) {
      *message = system.posted[posted];
      system.posted.Erase(posted);
      return message->message != WM_QUIT;
    }
    // The quit message comes when nothing else is waiting.
    if (system.quitPosted) {
      system.quitPosted = false;
      *message =
          MSG{nullptr, WM_QUIT, static_cast<WPARAM>(system.quitCode), 0, windowing::MessageTime(),
              {0, 0}};
      return FALSE;
    }
    windowing::WaitForTerminationSignal();
  }
}

// There is no keyboard, so there is never a key message to turn into characters.
BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG* message) {
  if (message == nullptr || message->hwnd == nullptr) return 0;
  return windowing::Send(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // A null window posts to the thread itself.
  if (window != nullptr && windowing::LiveWindow(window) == nullptr) return FALSE;
  System().posted.Append(MSG{window, message, wParam, lParam, windowing::MessageTime(), {0, 0}});
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  System().quitPosted = true;
  System().quitCode = exitCode;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (windowing::LiveWindow(window) == nullptr) return 0;
  return windowing::Send(window, message, wParam, lParam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  windowing::Window* w = WindowOf(window);
  if (w == nullptr) return 0;
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (create != nullptr && create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName)) {
        windowing::SetText(*w, create->lpszName);
      }
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      windowing::SetText(*w, text);
      return TRUE;
    }
    case WM_GETTEXT: {
      char* buffer = reinterpret_cast<char*>(lParam);
      if (buffer == nullptr || wParam == 0) return 0;
      size_t length = std::strlen(windowing::TextOf(*w));
      if (length > wParam - 1) length = wParam - 1;
      std::memcpy(buffer, windowing::TextOf(*w), length);
      buffer[length] = '\0';
      return static_cast<LRESULT>(length);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(std::strlen(windowing::TextOf(*w)));
    default:
      return 0;
  }
}

}  // namespace platform
