#include "platform/message_box.h"

#include "platform/hooks.h"

namespace platform {

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  int answer;
  if (hooks::AnswerMessageBox(text, caption, type, &answer)) return answer;
  return ::MessageBoxA(owner, text, caption, type);
}

}  // namespace platform
