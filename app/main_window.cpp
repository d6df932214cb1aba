#include "app/main_window.h"

#include <cstddef>
#include <cstring>

#include "platform/common_controls.h"
#include "platform/window.h"

namespace app {

// The records handed to Win32 take their sizes from the headers; on the shipping i686
// build those are the documented ones.
#if defined(__i386__)
static_assert(sizeof(WNDCLASSEXA) == 48);
static_assert(sizeof(TBBUTTON) == 20);
// What TTTOOLINFOA_V2_SIZE measures (MinGW's macro is not a constant expression).
static_assert(offsetof(TTTOOLINFOA, lParam) + sizeof(LPARAM) == 44);
#endif

ProgramState g_program;

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 400;

// The instance, icons and cursor are filled in just before registration.
WNDCLASSEXA g_mainClass = {sizeof(WNDCLASSEXA),
                           CS_VREDRAW | CS_HREDRAW,
                           MainWindowProc,
                           0,
                           0,
                           nullptr,
                           nullptr,
                           nullptr,
                           reinterpret_cast<HBRUSH>(COLOR_MENU + 1),
                           nullptr,
                           "MainWindowClass",
                           nullptr};

// Five enabled buttons, command ids 0 to 4, all naming image 0 and no text.
TBBUTTON g_buttons[] = {
    {0, 0, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {0, 1, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {0, 2, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {0, 3, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {0, 4, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
};
constexpr int kButtonCount = sizeof g_buttons / sizeof g_buttons[0];

// The tips of the buttons, back to back, one per button.
const char kButtonTips[] = "Button1\0Button2\0Button3\0Button4\0Button5";

char g_toolbarTip[] = "The toolbar";
TTTOOLINFOA g_toolbarTool;

// Halving the metric as an unsigned value drops the fraction.
int Half(int metric) { return static_cast<int>(static_cast<UINT>(metric) >> 1); }

LRESULT BuildToolbarAndTips(HWND window, const CREATESTRUCTA* create) {
  if (create->hwndParent != nullptr) return 0;
  HINSTANCE instance = g_program.moduleInstance;

  g_program.toolbar = platform::CreateWindowExA(WS_EX_STATICEDGE, "ToolbarWindow32", nullptr,
                                                WS_CHILD | WS_VISIBLE | CCS_TOP, 0, 0, 0, 0, window,
                                                nullptr, instance, nullptr);
  platform::SendMessageA(g_program.toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  platform::SendMessageA(g_program.toolbar, TB_ADDBUTTONSA, kButtonCount,
                         reinterpret_cast<LPARAM>(g_buttons));

  g_program.buttonTooltips = platform::CreateWindowExA(0, "tooltips_class32", nullptr,
                                                       WS_CHILD | WS_VISIBLE | TTS_ALWAYSTIP, 0, 0,
                                                       0, 0, window, nullptr, instance, nullptr);
  // The entry initialised the controls already; this second call belongs between the two
  // tooltip creations.
  platform::InitCommonControls();
  HWND balloonTooltips =
      platform::CreateWindowExA(WS_EX_TOPMOST, "tooltips_class32", nullptr, TTS_BALLOON, 0, 0, 0, 0,
                                window, nullptr, instance, nullptr);

  // The whole toolbar is one tool of the main window, subclassed by the balloon control.
  // The window being created is the main window; its handle is not stored until
  // CreateWindowExA returns.
  g_toolbarTool.cbSize = TTTOOLINFOA_V2_SIZE;
  g_toolbarTool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  g_toolbarTool.hwnd = window;
  g_toolbarTool.uId = reinterpret_cast<UINT_PTR>(g_program.toolbar);
  g_toolbarTool.hinst = instance;
  g_toolbarTool.lpszText = g_toolbarTip;
  platform::SendMessageA(balloonTooltips, TTM_ADDTOOLA, 0,
                         reinterpret_cast<LPARAM>(&g_toolbarTool));

  TTTOOLINFOA buttonTool;
  std::memset(&buttonTool, 0, sizeof buttonTool);
  buttonTool.cbSize = TTTOOLINFOA_V2_SIZE;
  buttonTool.uFlags = TTF_CENTERTIP;
  buttonTool.hwnd = g_program.toolbar;
  const char* tip = kButtonTips;
  for (int k = 0; k < kButtonCount; ++k) {
    buttonTool.uId = static_cast<UINT_PTR>(k);
    buttonTool.lpszText = const_cast<LPSTR>(tip);
    platform::SendMessageA(g_program.buttonTooltips, TTM_ADDTOOLA, 0,
                           reinterpret_cast<LPARAM>(&buttonTool));
    tip += std::strlen(tip) + 1;
  }

  platform::SendMessageA(g_program.toolbar, TB_SETTOOLTIPS,
                         reinterpret_cast<WPARAM>(g_program.buttonTooltips), 0);
  return 0;
}

}  // namespace

int RunMainWindow(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  g_mainClass.hInstance = g_program.moduleInstance;
  HICON icon = platform::LoadIconA(nullptr, IDI_APPLICATION);
  g_mainClass.hIcon = icon;
  g_mainClass.hIconSm = icon;
  g_mainClass.hCursor = platform::LoadCursorA(nullptr, IDC_ARROW);
  platform::RegisterClassExA(&g_mainClass);

  // The vertical metric is read first.
  int y = Half(platform::GetSystemMetrics(SM_CYSCREEN)) - kHeight / 2;
  int x = Half(platform::GetSystemMetrics(SM_CXSCREEN)) - kWidth / 2;
  g_program.mainWindow = platform::CreateWindowExA(
      0, "MainWindowClass", "Toolbar tooltips", WS_OVERLAPPEDWINDOW, x, y, kWidth, kHeight, nullptr,
      nullptr, g_program.moduleInstance, nullptr);
  platform::ShowWindow(g_program.mainWindow, showCommand);
  platform::UpdateWindow(g_program.mainWindow);

  MSG message;
  while (platform::GetMessageA(&message, nullptr, 0, 0) != 0) {
    platform::TranslateMessage(&message);
    platform::DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      platform::PostQuitMessage(0);
      return 0;
    case WM_CREATE:
      return BuildToolbarAndTips(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    default:
      return platform::DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace app
