// Window texts. The windows are ANSI windows: a wide text is converted through code page
// 1252 on its way in and out, as Windows does for a window with an ANSI procedure.
#include <algorithm>
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

}  // namespace

std::string WideToAnsi(const WCHAR* text) {
  std::string out;
  for (const WCHAR* p = text; *p; ++p) {
    char32_t c = static_cast<char16_t>(*p);
    // A surrogate pair is one character outside the code page.
    if (c >= 0xD800 && c <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
      ++p;
      c = 0x10000;
    }
    out.push_back(ToAnsi(c));
  }
  return out;
}

std::u16string AnsiToWide(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (unsigned char b : text) {
    out.push_back(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : static_cast<char16_t>(b));
  }
  return out;
}

}  // namespace windowing

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  if (windowing::LiveWindow(window) == nullptr) return FALSE;
  return SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
}

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
  if (windowing::LiveWindow(window) == nullptr) return FALSE;
  if (text == nullptr) return SendMessageA(window, WM_SETTEXT, 0, 0) != 0;
  std::string ansi = windowing::WideToAnsi(text);
  return SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ansi.c_str())) != 0;
}

int GetWindowTextA(HWND window, LPSTR text, int size) {
  if (windowing::LiveWindow(window) == nullptr || text == nullptr || size <= 0) return 0;
  return static_cast<int>(
      SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextW(HWND window, LPWSTR text, int size) {
  if (windowing::LiveWindow(window) == nullptr || text == nullptr || size <= 0) return 0;
  std::string ansi(static_cast<size_t>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
  LRESULT length =
      SendMessageA(window, WM_GETTEXT, ansi.size(), reinterpret_cast<LPARAM>(ansi.data()));
  ansi.resize(static_cast<size_t>(length));
  std::u16string wide = windowing::AnsiToWide(ansi);
  size_t count = std::min(wide.size(), static_cast<size_t>(size) - 1);
  std::copy_n(wide.data(), count, text);
  text[count] = 0;
  return static_cast<int>(count);
}

}  // namespace platform
