// Window texts through SetWindowTextA/W and GetWindowTextA/W on an ANSI window: wide texts
// pass the ANSI code page (1252) on the way in.
#include <gtest/gtest.h>

#include <string>

#include "platform/process.h"
#include "platform/window.h"

namespace {

using WideString = std::basic_string<WCHAR>;

WideString Wide(std::u16string_view units) { return WideString(units.begin(), units.end()); }

LRESULT CALLBACK TextWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return platform::DefWindowProcA(window, message, wParam, lParam);
}

class WindowTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HINSTANCE instance = platform::GetModuleHandleA(nullptr);
    WNDCLASSEXA textClass = {};
    textClass.cbSize = sizeof textClass;
    textClass.lpfnWndProc = TextWindowProc;
    textClass.hInstance = instance;
    textClass.lpszClassName = "WindowTextTest";
    platform::RegisterClassExA(&textClass);  // fails harmlessly after the first test
    window_ = platform::CreateWindowExA(0, "WindowTextTest", "first", WS_POPUP, 0, 0, 10, 10,
                                        nullptr, nullptr, instance, nullptr);
    ASSERT_NE(nullptr, window_);
  }
  void TearDown() override { platform::DestroyWindow(window_); }

  std::string TextA(int size = 64) {
    std::string text(static_cast<size_t>(size), '\x7F');
    int length = platform::GetWindowTextA(window_, text.data(), size);
    EXPECT_EQ(length, static_cast<int>(std::char_traits<char>::length(text.c_str())));
    return text.substr(0, static_cast<size_t>(length));
  }
  WideString TextW() {
    WCHAR text[64] = {};
    int length = platform::GetWindowTextW(window_, text, 64);
    return WideString(text, static_cast<size_t>(length));
  }

  HWND window_ = nullptr;
};

TEST_F(WindowTextTest, CreationNameIsTheFirstText) { EXPECT_EQ("first", TextA()); }

TEST_F(WindowTextTest, AnsiTextsRoundTrip) {
  for (const char* text : {"Toolbar tooltips", "", "Caf\xE9 \x80 \x9F"}) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(platform::SetWindowTextA(window_, text));
    EXPECT_EQ(text, TextA());
  }
}

TEST_F(WindowTextTest, WideTextsPassTheAnsiCodePage) {
  struct Case {
    std::u16string wide;
    std::string ansi;
    std::u16string back;
  } cases[] = {
      {u"plain", "plain", u"plain"},
      // Latin-1 letters and the euro sign have their bytes; others become '?'.
      {u"Caf\u00E9 \u20AC \u4E2D", "Caf\xE9 \x80 ?", u"Caf\u00E9 \u20AC ?"},
      {u"\u2018q\u2019 \u0160", "\x91q\x92 \x8A", u"\u2018q\u2019 \u0160"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ansi);
    ASSERT_TRUE(platform::SetWindowTextW(window_, Wide(c.wide).c_str()));
    EXPECT_EQ(c.ansi, TextA());
    EXPECT_EQ(Wide(c.back), TextW());
  }
}

TEST_F(WindowTextTest, ShortBuffersGetATerminatedPrefix) {
  ASSERT_TRUE(platform::SetWindowTextA(window_, "Toolbar"));
  EXPECT_EQ("Too", TextA(4));
  EXPECT_EQ("", TextA(1));
  EXPECT_EQ(0, platform::GetWindowTextA(window_, nullptr, 0));
}

TEST_F(WindowTextTest, DestroyedWindowHasNoText) {
  HWND gone = window_;
  platform::DestroyWindow(window_);
  window_ = nullptr;
  char text[8] = "x";
  EXPECT_FALSE(platform::SetWindowTextA(gone, "y"));
  EXPECT_EQ(0, platform::GetWindowTextA(gone, text, sizeof text));
}

}  // namespace
