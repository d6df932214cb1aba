// The toolbar program, checked from inside its own message loop through the standard
// messages, so the same test runs against the real controls and against the POSIX layer.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/common_controls.h"
#include "platform/hooks.h"
#include "platform/process.h"
#include "platform/window.h"

namespace {

std::function<void()> g_inspect;
bool g_terminateBySignal = false;

// A window of the test's own: a message posted to it before the program starts is
// dispatched by the program's loop once the main window is up.
LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_APP) return platform::DefWindowProcA(window, message, wParam, lParam);
  if (g_inspect) g_inspect();
#ifndef _WIN32
  // As from a terminal: the layer turns the signal into WM_CLOSE for the main window.
  if (g_terminateBySignal) return std::raise(SIGTERM);
#endif
  platform::PostMessageA(app::g_program.mainWindow, WM_CLOSE, 0, 0);
  return 0;
}

HWND CreateProbe() {
  HINSTANCE instance = platform::GetModuleHandleA(nullptr);
  WNDCLASSEXA probeClass = {};
  probeClass.cbSize = sizeof probeClass;
  probeClass.lpfnWndProc = ProbeProc;
  probeClass.hInstance = instance;
  probeClass.lpszClassName = "ProgramTestProbe";
  platform::RegisterClassExA(&probeClass);  // fails harmlessly after the first test
  return platform::CreateWindowExA(0, "ProgramTestProbe", "probe", WS_POPUP, 0, 0, 0, 0, nullptr,
                                   nullptr, instance, nullptr);
}

std::string ClassName(HWND window) {
  char name[64] = {};
  platform::GetClassNameA(window, name, sizeof name);
  return name;
}

LONG Style(HWND window) { return platform::GetWindowLongA(window, GWL_STYLE); }
LONG ExStyle(HWND window) { return platform::GetWindowLongA(window, GWL_EXSTYLE); }
bool HasAll(LONG value, DWORD bits) { return (static_cast<DWORD>(value) & bits) == bits; }

struct Tool {
  LRESULT found;
  TTTOOLINFOA info;
  std::string text;
};

Tool EnumTool(HWND tooltips, WPARAM index) {
  Tool tool = {};
  char text[80] = {};
  tool.info.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.info.lpszText = text;
  tool.found =
      platform::SendMessageA(tooltips, TTM_ENUMTOOLSA, index, reinterpret_cast<LPARAM>(&tool.info));
  tool.text = text;
  return tool;
}

// The balloon tooltip control is not kept by the program: it is the top-level tooltip
// window the main window owns.
std::vector<HWND> TooltipsOwnedBy(HWND owner) {
  std::vector<HWND> found;
  HWND at = nullptr;
  while ((at = platform::FindWindowExA(nullptr, at, "tooltips_class32", nullptr)) != nullptr) {
    if (platform::GetWindow(at, GW_OWNER) == owner) found.push_back(at);
  }
  return found;
}

class ProgramTest : public ::testing::Test {
 protected:
  void TearDown() override {
    g_inspect = nullptr;
    g_terminateBySignal = false;
    platform::hooks::ResetAll();
    platform::hooks::ScriptMessageBoxes(true);
  }

  // Runs the program, calls inspect from inside its loop, then closes the main window.
  // Returns the program's result.
  static int RunAndInspect(std::function<void()> inspect) {
    g_inspect = std::move(inspect);
    HWND probe = CreateProbe();
    platform::PostMessageA(probe, WM_APP, 0, 0);
    int result = app::RunProgram();
    platform::DestroyWindow(probe);
    return result;
  }
};

TEST_F(ProgramTest, RegistersTheMainWindowClass) {
  EXPECT_EQ(0, RunAndInspect([] {
              HINSTANCE instance = app::g_program.moduleInstance;
              ASSERT_NE(nullptr, instance);
              WNDCLASSEXA wc = {};
              wc.cbSize = sizeof wc;
              ASSERT_TRUE(platform::GetClassInfoExA(instance, "MainWindowClass", &wc));
              EXPECT_EQ(static_cast<UINT>(CS_VREDRAW | CS_HREDRAW), wc.style);
              EXPECT_EQ(&app::MainWindowProc, wc.lpfnWndProc);
              EXPECT_EQ(0, wc.cbClsExtra);
              EXPECT_EQ(0, wc.cbWndExtra);
              EXPECT_EQ(instance, wc.hInstance);
              HICON icon = platform::LoadIconA(nullptr, IDI_APPLICATION);
              EXPECT_NE(nullptr, icon);
              EXPECT_EQ(icon, wc.hIcon);
              EXPECT_EQ(icon, wc.hIconSm);
              EXPECT_EQ(platform::LoadCursorA(nullptr, IDC_ARROW), wc.hCursor);
              EXPECT_EQ(reinterpret_cast<HBRUSH>(COLOR_MENU + 1), wc.hbrBackground);
              EXPECT_EQ(nullptr, wc.lpszMenuName);
              EXPECT_EQ("MainWindowClass", ClassName(app::g_program.mainWindow));
            }));
}

TEST_F(ProgramTest, CentresTheMainWindowOnTheScreen) {
  // Halving drops the fraction; a screen smaller than the window puts the corner off screen.
  struct Case {
    int screenWidth, screenHeight, left, top;
  } cases[] = {
      {1024, 768, 212, 184},
      {1023, 767, 211, 183},
      {500, 300, -50, -50},
      {1920, 1080, 660, 340},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.screenWidth << "x" << c.screenHeight);
    platform::hooks::FakeScreenSize(c.screenWidth, c.screenHeight);
    EXPECT_EQ(0, RunAndInspect([&c] {
                HWND main = app::g_program.mainWindow;
                RECT rect = {};
                ASSERT_TRUE(platform::GetWindowRect(main, &rect));
                EXPECT_EQ(c.left, rect.left);
                EXPECT_EQ(c.top, rect.top);
                EXPECT_EQ(600, rect.right - rect.left);
                EXPECT_EQ(400, rect.bottom - rect.top);
              }));
  }
}

TEST_F(ProgramTest, ShowsAnOverlappedWindowWithItsCaption) {
  EXPECT_EQ(0, RunAndInspect([] {
              HWND main = app::g_program.mainWindow;
              char caption[64] = {};
              EXPECT_EQ(16, platform::GetWindowTextA(main, caption, sizeof caption));
              EXPECT_STREQ("Toolbar tooltips", caption);
              EXPECT_TRUE(HasAll(Style(main), WS_OVERLAPPEDWINDOW | WS_VISIBLE));
              EXPECT_EQ(0u, static_cast<DWORD>(Style(main)) & (WS_CHILD | WS_POPUP));
              EXPECT_EQ(0u, static_cast<DWORD>(ExStyle(main)) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
            }));
}

TEST_F(ProgramTest, ToolbarHasFiveEnabledButtonsAndTheButtonTooltips) {
  EXPECT_EQ(0, RunAndInspect([] {
              HWND toolbar = app::g_program.toolbar;
              ASSERT_NE(nullptr, toolbar);
              EXPECT_EQ("ToolbarWindow32", ClassName(toolbar));
              EXPECT_EQ(toolbar, platform::FindWindowExA(app::g_program.mainWindow, nullptr,
                                                         "ToolbarWindow32", nullptr));
              EXPECT_TRUE(HasAll(Style(toolbar), WS_CHILD | WS_VISIBLE | CCS_TOP));
              EXPECT_TRUE(HasAll(ExStyle(toolbar), WS_EX_STATICEDGE));

              ASSERT_EQ(5, platform::SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
              for (int k = 0; k < 5; ++k) {
                SCOPED_TRACE(k);
                TBBUTTON button;
                std::memset(&button, 0x5A, sizeof button);
                ASSERT_TRUE(platform::SendMessageA(toolbar, TB_GETBUTTON, k,
                                                   reinterpret_cast<LPARAM>(&button)));
                EXPECT_EQ(0, button.iBitmap);
                EXPECT_EQ(k, button.idCommand);
                EXPECT_EQ(TBSTATE_ENABLED, button.fsState);
                EXPECT_EQ(TBSTYLE_BUTTON, button.fsStyle);
                EXPECT_EQ(0u, button.dwData);
                EXPECT_EQ(0, button.iString);
              }
              TBBUTTON past = {};
              EXPECT_FALSE(platform::SendMessageA(toolbar, TB_GETBUTTON, 5,
                                                  reinterpret_cast<LPARAM>(&past)));

              ASSERT_NE(nullptr, app::g_program.buttonTooltips);
              EXPECT_EQ(reinterpret_cast<LRESULT>(app::g_program.buttonTooltips),
                        platform::SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
            }));
}

TEST_F(ProgramTest, ButtonTooltipsHaveOneCentredToolPerButton) {
  EXPECT_EQ(0, RunAndInspect([] {
              HWND tooltips = app::g_program.buttonTooltips;
              EXPECT_EQ("tooltips_class32", ClassName(tooltips));
              EXPECT_TRUE(HasAll(Style(tooltips), TTS_ALWAYSTIP));
              ASSERT_EQ(5, platform::SendMessageA(tooltips, TTM_GETTOOLCOUNT, 0, 0));
              const char* texts[] = {"Button1", "Button2", "Button3", "Button4", "Button5"};
              for (int k = 0; k < 5; ++k) {
                SCOPED_TRACE(k);
                Tool tool = EnumTool(tooltips, k);
                ASSERT_TRUE(tool.found);
                EXPECT_EQ(static_cast<UINT>(TTF_CENTERTIP), tool.info.uFlags);
                EXPECT_EQ(app::g_program.toolbar, tool.info.hwnd);
                EXPECT_EQ(static_cast<UINT_PTR>(k), tool.info.uId);
                EXPECT_EQ(nullptr, tool.info.hinst);
                EXPECT_EQ(0, tool.info.lParam);
                EXPECT_EQ(texts[k], tool.text);
              }
              EXPECT_FALSE(EnumTool(tooltips, 5).found);
            }));
}

TEST_F(ProgramTest, BalloonTooltipsCarryTheWholeToolbar) {
  HWND balloon = nullptr;
  EXPECT_EQ(0, RunAndInspect([&balloon] {
              HWND main = app::g_program.mainWindow;
              std::vector<HWND> owned = TooltipsOwnedBy(main);
              ASSERT_EQ(1u, owned.size());
              balloon = owned[0];
              EXPECT_NE(app::g_program.buttonTooltips, balloon);
              EXPECT_TRUE(HasAll(Style(balloon), TTS_BALLOON));
              EXPECT_TRUE(HasAll(ExStyle(balloon), WS_EX_TOPMOST));

              ASSERT_EQ(1, platform::SendMessageA(balloon, TTM_GETTOOLCOUNT, 0, 0));
              Tool tool = EnumTool(balloon, 0);
              ASSERT_TRUE(tool.found);
              EXPECT_EQ(static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS), tool.info.uFlags);
              EXPECT_EQ(main, tool.info.hwnd);
              EXPECT_EQ(reinterpret_cast<UINT_PTR>(app::g_program.toolbar), tool.info.uId);
              EXPECT_EQ(app::g_program.moduleInstance, tool.info.hinst);
              EXPECT_EQ("The toolbar", tool.text);
            }));
  // Closing the main window took its controls with it.
  EXPECT_FALSE(platform::IsWindow(app::g_program.mainWindow));
  EXPECT_FALSE(platform::IsWindow(app::g_program.toolbar));
  EXPECT_FALSE(platform::IsWindow(app::g_program.buttonTooltips));
  EXPECT_FALSE(platform::IsWindow(balloon));
}

TEST_F(ProgramTest, CreationWithAParentBuildsNothing) {
  HWND probe = CreateProbe();
  ASSERT_NE(nullptr, probe);
  HWND toolbarBefore = app::g_program.toolbar;
  CREATESTRUCTA create = {};
  create.hwndParent = probe;
  EXPECT_EQ(0, app::MainWindowProc(probe, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)));
  EXPECT_EQ(toolbarBefore, app::g_program.toolbar);
  EXPECT_EQ(nullptr, platform::GetWindow(probe, GW_CHILD));
  EXPECT_TRUE(TooltipsOwnedBy(probe).empty());
  platform::DestroyWindow(probe);
}

TEST_F(ProgramTest, ClosingTheWindowEndsTheProcessWithZero) {
  // On POSIX the close comes as SIGTERM, the way a terminal ends the program.
  g_terminateBySignal = true;
  EXPECT_EXIT(
      {
        platform::PostMessageA(CreateProbe(), WM_APP, 0, 0);
        app::ProgramEntry();
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
