// The window system the program stands on: failures with their last-error codes, how a
// window and everything it owns are destroyed, and how the queue hands out the quit message.
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/process.h"
#include "platform/window.h"

namespace {

std::map<HWND, std::string> g_names;
std::vector<std::string> g_log;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) g_log.push_back(g_names[window] + " destroy");
  if (message == WM_NCDESTROY) g_log.push_back(g_names[window] + " ncdestroy");
  return platform::DefWindowProcA(window, message, wParam, lParam);
}

class WindowSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    instance_ = platform::GetModuleHandleA(nullptr);
    WNDCLASSEXA recording = {};
    recording.cbSize = sizeof recording;
    recording.lpfnWndProc = RecordingProc;
    recording.hInstance = instance_;
    recording.lpszClassName = "WindowSystemTest";
    platform::RegisterClassExA(&recording);  // fails harmlessly after the first test
    g_names.clear();
    g_log.clear();
  }

  HWND Create(const char* name, DWORD style, HWND parent) {
    HWND window = platform::CreateWindowExA(0, "WindowSystemTest", name, style, 0, 0, 10, 10,
                                            parent, nullptr, instance_, nullptr);
    g_names[window] = name;
    return window;
  }

  HINSTANCE instance_ = nullptr;
};

TEST_F(WindowSystemTest, FailuresSetTheirLastError) {
  HWND gone = Create("gone", WS_POPUP, nullptr);
  platform::DestroyWindow(gone);
  WNDCLASSEXA again = {};
  again.cbSize = sizeof again;
  again.lpfnWndProc = RecordingProc;
  again.hInstance = instance_;
  again.lpszClassName = "WindowSystemTest";
  WNDCLASSEXA shortRecord = again;
  shortRecord.cbSize = sizeof shortRecord - 4;
  shortRecord.lpszClassName = "WindowSystemTestShort";

  struct Case {
    const char* what;
    std::function<bool()> fails;
    DWORD error;
    DWORD wineError = 0;  // where Wine answers otherwise than Windows
  } cases[] = {
      {"unknown class",
       [&] {
         return !platform::CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                           nullptr, instance_, nullptr);
       },
       ERROR_CANNOT_FIND_WND_CLASS, ERROR_CLASS_DOES_NOT_EXIST},
      {"child without parent", [&] { return !Create("orphan", WS_CHILD, nullptr); },
       ERROR_TLW_WITH_WSCHILD},
      {"dead parent", [&] { return !Create("late", WS_CHILD, gone); }, ERROR_INVALID_WINDOW_HANDLE},
      {"class twice", [&] { return !platform::RegisterClassExA(&again); },
       ERROR_CLASS_ALREADY_EXISTS},
      {"short class record", [&] { return !platform::RegisterClassExA(&shortRecord); },
       ERROR_INVALID_PARAMETER},
      {"class info of no class",
       [&] {
         WNDCLASSEXA info = {};
         info.cbSize = sizeof info;
         return !platform::GetClassInfoExA(instance_, "NoSuchClass", &info);
       },
       ERROR_CLASS_DOES_NOT_EXIST},
      {"post to dead window", [&] { return !platform::PostMessageA(gone, WM_APP, 0, 0); },
       ERROR_INVALID_WINDOW_HANDLE},
      {"destroy dead window", [&] { return !platform::DestroyWindow(gone); },
       ERROR_INVALID_WINDOW_HANDLE, ERROR_ACCESS_DENIED},
      {"wait on dead window",
       [&] {
         MSG message;
         return platform::GetMessageA(&message, gone, 0, 0) == -1;
       },
       ERROR_INVALID_WINDOW_HANDLE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::SetLastError(0);
    EXPECT_TRUE(c.fails());
    DWORD error = platform::GetLastError();
    if (c.wineError == 0 || error != c.wineError) {
      EXPECT_EQ(c.error, error);
    }
  }
}

TEST_F(WindowSystemTest, ClosingDestroysOwnedWindowsFirstThenTheTreeTopDown) {
  HWND main = Create("main", WS_OVERLAPPEDWINDOW, nullptr);
  HWND child = Create("child", WS_CHILD, main);
  HWND grandchild = Create("grandchild", WS_CHILD, child);
  HWND popup = Create("popup", WS_POPUP, main);
  ASSERT_TRUE(main && child && grandchild && popup);
  EXPECT_EQ(main, platform::GetWindow(popup, GW_OWNER));
  EXPECT_EQ(child, platform::GetWindow(main, GW_CHILD));

  EXPECT_EQ(0, platform::SendMessageA(main, WM_CLOSE, 0, 0));

  std::vector<std::string> expected = {
      "popup destroy",      "popup ncdestroy",      "main destroy",    "child destroy",
      "grandchild destroy", "grandchild ncdestroy", "child ncdestroy", "main ncdestroy"};
  EXPECT_EQ(expected, g_log);
  for (HWND window : {main, child, grandchild, popup}) EXPECT_FALSE(platform::IsWindow(window));
}

TEST_F(WindowSystemTest, QuitComesAfterThePostedMessages) {
  HWND window = Create("queue", WS_POPUP, nullptr);
  platform::PostMessageA(window, WM_APP, 1, 0);
  platform::PostQuitMessage(7);
  platform::PostMessageA(window, WM_APP, 2, 0);
  MSG message;
  ASSERT_NE(0, platform::GetMessageA(&message, nullptr, 0, 0));
  EXPECT_EQ(1u, message.wParam);
  ASSERT_NE(0, platform::GetMessageA(&message, nullptr, 0, 0));
  EXPECT_EQ(2u, message.wParam);
  EXPECT_EQ(0, platform::GetMessageA(&message, nullptr, 0, 0));
  EXPECT_EQ(static_cast<UINT>(WM_QUIT), message.message);
  EXPECT_EQ(7u, message.wParam);
  platform::DestroyWindow(window);
}

#ifndef _WIN32
// A terminal's signal becomes WM_CLOSE only while there is a window to close and a loop to
// take it; otherwise it still ends the process.
TEST_F(WindowSystemTest, SignalsNobodyTakesStillEndTheProcess) {
  EXPECT_EXIT(
      {
        HWND window = Create("unlooped", WS_POPUP, nullptr);
        std::raise(SIGTERM);
        platform::DestroyWindow(window);  // the last window: nothing left to close
        std::_Exit(0);
      },
      ::testing::KilledBySignal(SIGTERM), "");
  EXPECT_EXIT(
      {
        Create("unlooped", WS_POPUP, nullptr);
        std::raise(SIGINT);
        std::raise(SIGINT);  // asked twice
        std::_Exit(0);
      },
      ::testing::KilledBySignal(SIGINT), "");
}
#endif

}  // namespace
