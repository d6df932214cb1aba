#include "runtime/core/state.h"

#include <cstring>

namespace corvala::internal {

// Constant initialisation, all zero: the whole state, scratch area included, lies in
// zero-initialised storage, and no page of it is touched before the runtime uses it.
constinit RuntimeState g_state{};

namespace {

void SetCommonDataDefaults(CoreState& core) {
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

}  // namespace

CommonDataBlock& CommonDataBlockInUse() {
  CoreState& core = g_state.core;
  // The tag is never empty once the defaults are set.
  if (core.commonData.tag[0] == '\0') SetCommonDataDefaults(core);
  return core.commonData;
}

void ResetRuntimeState() { std::memset(static_cast<void*>(&g_state), 0, sizeof g_state); }

}  // namespace corvala::internal
