// Window texts. The windows are ANSI windows: a wide text is converted through code page
// 1252 on its way in and out, as Windows does for a window with an ANSI procedure.
#include <cstdlib>
#include <cstring>

#include "platform/posix/window_system.h"
#include "platform/window.h"

namespace platform {
namespace windowing {
namespace {

// Code page 1252 bytes 0x80 to 0x9F; the five unassigned ones stand for themselves.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ToAnsi(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// A wide text in code page 1252, malloc'd. A surrogate pair is one character outside it.
char* WideToAnsi(const WCHAR* text) {
  size_t length = 0;
  for (const WCHAR* p = text; *p; ++p, ++length) {
    if (*p >= 0xD800 && *p <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) ++p;
  }
  auto* out = static_cast<char*>(Reallocate(nullptr, length + 1));
  size_t n = 0;
  for (const WCHAR* p = text; *p; ++p) {
    char32_t c = static_cast<char16_t>(*p);
    if (c >= 0xD800 && c <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
      ++p;
      c = 0x10000;
    }
    out[n++] = ToAnsi(c);
  }
  out[n] = '\0';
  return out;
}

WCHAR AnsiToWide(unsigned char b) {
  return static_cast<WCHAR>(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : b);
}

}  // namespace
}  // namespace windowing

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  if (windowing::LiveWindow(window) == nullptr) return FALSE;
  return SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
}

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
  if (windowing::LiveWindow(window) == nullptr) return FALSE;
  if (text == nullptr) return SendMessageA(window, WM_SETTEXT, 0, 0) != 0;
  char* ansi = windowing::WideToAnsi(text);
  BOOL set = SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ansi)) != 0;
  std::free(ansi);
  return set;
}

int GetWindowTextA(HWND window, LPSTR text, int size) {
  if (windowing::LiveWindow(window) == nullptr || text == nullptr || size <= 0) return 0;
  return static_cast<int>(
      SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextW(HWND window, LPWSTR text, int size) {
  if (windowing::LiveWindow(window) == nullptr || text == nullptr || size <= 0) return 0;
  size_t room = static_cast<size_t>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)) + 1;
  auto* ansi = static_cast<char*>(Reallocate(nullptr, room));
  auto length =
      static_cast<size_t>(SendMessageA(window, WM_GETTEXT, room, reinterpret_cast<LPARAM>(ansi)));
  size_t count = length < static_cast<size_t>(size) - 1 ? length : static_cast<size_t>(size) - 1;
  for (size_t i = 0; i < count; ++i) {
    text[i] = windowing::AnsiToWide(static_cast<unsigned char>(ansi[i]));
  }
  text[count] = 0;
  std::free(ansi);
  return static_cast<int>(count);
}

}  // namespace platform
