#include "runtime/core/state.h"

#include <cstring>
#include <memory>

namespace corvala::internal {

RuntimeState g_state;

RuntimeState::RuntimeState() : core{}, numbers{}, strings{}, files{} {
  CommonDataBlock& c = core.commonData;
  std::memcpy(c.tag, "Common data", 11);
  static const char kCrLf[] = "\r\n";
  static const char kCr[] = "\r";
  static const char kLf[] = "\n";
  static const char kTab[] = "\t";
  static const char kDebugLog[] = "DebLog.txt";
  c.entries[0] = reinterpret_cast<Word>(kCrLf);
  c.entries[1] = reinterpret_cast<Word>(kCr);
  c.entries[2] = reinterpret_cast<Word>(kLf);
  c.entries[3] = reinterpret_cast<Word>(kTab);
  c.entries[4] = reinterpret_cast<Word>(core.moduleFolder);
  c.entries[5] = 7;  // default significant digits
  c.entries[6] = reinterpret_cast<Word>(core.fileErrorText);
  c.entries[7] = reinterpret_cast<Word>(core.furtherBuffer8);
  for (int i = 8; i <= 12; ++i) c.entries[i] = 1;
  c.entries[13] = reinterpret_cast<Word>(core.furtherBuffer14);
  c.entries[14] = reinterpret_cast<Word>(kDebugLog);
  std::memcpy(c.dateFormat, "dd.MM.yyyy", 11);
  std::memcpy(c.timeFormat, "HH:mm:ss", 9);
}

void ResetRuntimeState() {
  std::destroy_at(&g_state);
  std::construct_at(&g_state);
}

}  // namespace corvala::internal
