#include "platform/heap.h"

#include <charconv>
#include <cstdint>

#include "corvala/core.h"
#include "platform/debug.h"
#include "platform/message_box.h"
#include "runtime/core/state.h"

namespace corvala {

int32_t& AllocationCount = internal::g_state.core.allocationCount;
int32_t& ReleaseCount = internal::g_state.core.releaseCount;

namespace {

// A release the heap refused: the user decides between going on (No), stopping in the
// debugger and then going on (Yes), and ending the run (Cancel).
void AskAboutFailedRelease(void* block) {
  char address[24];
  auto end = std::to_chars(address, address + sizeof address - 1,
                           static_cast<intptr_t>(reinterpret_cast<uintptr_t>(block)))
                 .ptr;
  *end = '\0';
  int answer = platform::MessageBoxA(nullptr, address, "HeapFree error. INT3?", MB_YESNOCANCEL);
  if (answer == IDCANCEL) FatalError(kErrorHeapFree, reinterpret_cast<Word>(block));
  // Without a debugger there is nobody to stop for: Yes then goes on like No.
  if (answer == IDYES && platform::IsDebuggerPresent()) platform::DebugBreak();
}

}  // namespace

void* CountedAlloc(size_t size, uint32_t flags) {
  HANDLE heap = platform::GetProcessHeap();
  if (heap == nullptr) FatalError(kErrorHeapAlloc, 0);
  void* block = platform::HeapAlloc(heap, flags, size);
  ++AllocationCount;
  if (block == nullptr) FatalError(kErrorHeapAlloc, 0);
  return block;
}

void CountedFree(void* block) {
  if (block == nullptr || block == EmptyText) return;
  HANDLE heap = platform::GetProcessHeap();
  if (heap == nullptr) FatalError(kErrorHeapFree, reinterpret_cast<Word>(block));
  BOOL released = platform::HeapFree(heap, 0, block);
  ++ReleaseCount;
  if (!released) AskAboutFailedRelease(block);
}

}  // namespace corvala
