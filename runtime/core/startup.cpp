#include <cstring>

#include "corvala/core.h"
#include "platform/cpu.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "runtime/core/state.h"

namespace corvala {
namespace {

// Ids 3, 4 and 5 point into one run of four spaces.
const char kCrLf[] = "\r\n";
const char kTab[] = "\t";
const char kSpaces[] = "    ";
const char kX[] = "X";

void FillModuleFolder(internal::CoreState& core) {
  char* folder = core.moduleFolder;
  DWORD length = platform::GetModuleFileNameA(nullptr, folder, internal::kModuleFolderSize);
  // The folder ends after the last path separator; POSIX paths use the slash.
  int32_t end = 0;
  for (DWORD i = length; i > 0; --i) {
    char c = folder[i - 1];
    if (c == '\\' || c == '/') {
      end = static_cast<int32_t>(i);
      break;
    }
  }
  folder[end] = '\0';
  core.shared[6] = {folder, end};
}

}  // namespace

void RuntimeStartup() {
  if (!platform::ProcessorHasSse2()) {
    platform::MessageBoxA(nullptr, "Sorry, Corvala needs SSE2", nullptr, MB_OK);
    platform::ExitProcess(static_cast<UINT>(-99));
  }
  internal::CoreState& core = internal::g_state.core;
  core.shared[0] = {nullptr, 0};
  core.shared[1] = {kCrLf, 2};
  core.shared[2] = {kTab, 1};
  core.shared[3] = {kSpaces + 3, 1};
  core.shared[4] = {kSpaces + 2, 2};
  core.shared[5] = {kSpaces, 4};
  core.shared[7] = {kX, 1};
  FillModuleFolder(core);
  // Each count from the count of the byte shifted right by one: no libgcc popcount helper.
  for (int b = 0; b < 256; ++b) {
    core.bitCountTable[b] =
        static_cast<uint8_t>((b & 1) + (b > 1 ? core.bitCountTable[b >> 1] : 0));
  }
}

const TextRecord* SharedStringTable() { return internal::g_state.core.shared; }
const uint8_t* BitCountTable() { return internal::g_state.core.bitCountTable; }
const char* ModuleFolder() { return internal::g_state.core.moduleFolder; }
CommonDataBlockView CommonData() {
  const internal::CommonDataBlock& c = internal::CommonDataBlockInUse();
  return {c.tag, c.entries, c.dateFormat, c.timeFormat};
}

}  // namespace corvala
