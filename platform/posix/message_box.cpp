#include "platform/message_box.h"

#include <cstdio>

#include "platform/hooks.h"

namespace platform {

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
  int answer;
  if (hooks::AnswerMessageBox(text, caption, type, &answer)) return answer;
  // No screen to show a box on: the caption and text go to standard error.
  (void)std::fprintf(stderr, "%s\n%s\n", caption ? caption : "Error", text ? text : "");
  (void)std::fflush(stderr);
  return hooks::DefaultButton(type);
}

}  // namespace platform
