#include <cstdint>

#include "corvala/core.h"
#include "platform/errors.h"
#include "platform/message_box.h"
#include "runtime/core/state.h"

namespace corvala {

int32_t& ApiBoxesOff = internal::g_state.core.apiBoxesOff;

namespace {
constexpr DWORD kFailureTextSize = 444;
}  // namespace

void ReportApiFailure(Word result) {
  if (result != 0 || ApiBoxesOff != 0) return;
  DWORD error = platform::GetLastError();
  // Empty when the system has no text for the code; inserts are ignored as there is nothing
  // to fill them with.
  char text[kFailureTextSize] = {};
  platform::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           error, 0, text, sizeof text, nullptr);
  int answer = platform::MessageBoxA(nullptr, text, "GetLastError:\r\n#", MB_OKCANCEL);
  // OK keeps the boxes on; Cancel, or a box that could not be shown, silences them.
  ApiBoxesOff = answer - IDOK;
}

}  // namespace corvala
