#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "corvala/numbers.h"
#include "corvala/strings.h"
#include "platform/errors.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "runtime/core/state.h"

namespace corvala {

int32_t& ReportValue = internal::g_state.core.reportValue;
int32_t& DebugMarker = internal::g_state.core.debugMarker;

namespace {

// By ErrorCode; the detail text takes the place of the first "#".
constexpr const char* kMessages[] = {
    "GetLastError:\r\n#",
    "HeapAlloc",
    "HeapFree\n#",
    "String table overflow",
    "Could not open\n#\nfor Store",
    "Could not open\n#\nfor Recall, FileRead$ etc.",
    "Line #: Count too high\nor wrong # of dimensions",
    "Line #: Array erased or undefined",
    "Too many strings: increase CvHeapStrings",
    "Insufficient buffer or New$(<=0)",
    "HeapSize failed for #",
};
constexpr uint32_t kLastCode = kErrorHeapSize;
constexpr size_t kDetailChars = 127;
constexpr size_t kLastErrorTextSize = 1024;

char* Append(char* to, const char* from, size_t bytes) {
  std::memcpy(to, from, bytes);
  return to + bytes;
}

// The detail may be any readable memory, inside an object or not: the probe has vouched for
// these bytes, so the address sanitizer stays out of this loop.
__attribute__((no_sanitize("address"))) char* AppendDetail(char* to, const char* detail) {
  for (size_t i = 0; i < kDetailChars && detail[i] != '\0'; ++i) *to++ = detail[i];
  return to;
}

}  // namespace

void FatalError(uint32_t code, Word detail) {
  char codeText[12];
  if (code > kLastCode) {
    ReportValue = static_cast<int32_t>(code);
    IntToDecimal(ReportValue, codeText);
    detail = reinterpret_cast<Word>(codeText);
    code = kErrorLastError;
  }

  // The longest message, a full detail and the marker fit with room to spare.
  char message[256];
  char* out = message;
  const char* text = kMessages[code];
  const char* mark = FindText(1, text, "#", 0).address;
  const char* detailText = reinterpret_cast<const char*>(detail);
  if (mark != nullptr && !platform::IsBadStringPtrA(detailText, kDetailChars)) {
    out = Append(out, text, static_cast<size_t>(mark - text));
    out = AppendDetail(out, detailText);
    out = Append(out, mark + 1, std::strlen(mark + 1));
  } else {
    out = Append(out, text, std::strlen(text));
  }
  if (DebugMarker != 0) {
    out = Append(out, " Olly=", 6);
    IntToDecimal(DebugMarker, out);
  } else {
    *out = '\0';
  }

  CloseFile(10);  // the runtime's own working file number
  platform::MessageBoxA(nullptr, message, "Fatal error:", MB_OK);
  EraseArray(kEraseAllArrays);
  ReleaseTrackedBlock(kReleaseAllTracked);
  platform::ExitProcess(0u - code);
}

void FatalErrorLine(uint32_t code) {
  char line[12];
  IntToDecimal(ReportValue, line);
  FatalError(code, reinterpret_cast<Word>(line));
}

void FatalErrorValue(uint32_t code, int32_t value) {
  ReportValue = value;
  FatalErrorLine(code);
}

void FatalLastError() {
  DWORD error = platform::GetLastError();
  // Empty, not stale, when the system has no text for the code. Inserts are ignored: with no
  // arguments to fill them, a text that has some could not be formatted at all.
  char text[kLastErrorTextSize] = {};
  platform::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           error, 0, text, sizeof text, nullptr);
  FatalError(kErrorLastError, reinterpret_cast<Word>(text));
}

}  // namespace corvala
