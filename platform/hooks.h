// Test hooks of the platform seam. They are compiled into every build and work the same on
// both backends; a program that never touches them gets the real behaviour.
#pragma once

#include "platform/plain_list.h"

namespace platform::hooks {

// Message boxes -------------------------------------------------------------------------
struct ShownBox {
  const char* caption;
  const char* text;
  unsigned type;
};

// While scripting is on, MessageBoxA shows nothing on screen: it records the box, writes
// "caption\ntext\n" to standard error (so a death test can match it) and answers with the
// next scripted answer, or with the box's default button when none is left.
void ScriptMessageBoxes(bool on);
bool MessageBoxesScripted();
void QueueMessageBoxAnswer(int answer);
const PlainList<ShownBox>& ShownBoxes();  // oldest first
void ClearShownBoxes();
// Called by the backends: true when the hook answered (the answer is in *answer).
bool AnswerMessageBox(const char* text, const char* caption, unsigned type, int* answer);
// The answer a box of this type gives when nobody picks a button (OK, Cancel...).
int DefaultButton(unsigned type);

// Process exit --------------------------------------------------------------------------
// Called by ExitProcess just before the process ends, with the exit code.
using ExitHook = void (*)(unsigned exitCode);
void SetExitHook(ExitHook hook);
void RunExitHook(unsigned exitCode);

// Module path ---------------------------------------------------------------------------
// A non-empty path replaces the program's own in GetModuleFileNameA.
void SetModulePath(const char* path);
const char* ModulePath();  // "" when not set

// Processor -----------------------------------------------------------------------------
enum class Sse2 { kReal, kPresent, kAbsent };
void FakeSse2(Sse2 answer);
Sse2 FakedSse2();

// Screen ---------------------------------------------------------------------------------
// A faked screen size answers GetSystemMetrics for SM_CXSCREEN and SM_CYSCREEN on both
// backends. Without it Windows gives the real screen and POSIX 1024 by 768.
struct ScreenSize {
  int width;
  int height;
};
void FakeScreenSize(int width, int height);
// Null when the screen size is not faked.
const ScreenSize* FakedScreenSize();

// Command line --------------------------------------------------------------------------
// A set command line replaces the process's own in GetCommandLineA.
void SetCommandLine(const char* commandLine);
const char* CommandLine();  // null when not set

// Files ---------------------------------------------------------------------------------
// The next ReadFile delivers at most this many bytes, as from a file that shrank after its
// size was taken; later reads are whole again.
void LimitNextRead(unsigned long bytes);
// Called by the backends: true (and the limit) once after LimitNextRead.
bool TakeReadLimit(unsigned long* bytes);

// Heap ----------------------------------------------------------------------------------
// Arms a failure: the nth heap allocation from now (HeapAlloc and HeapReAlloc count; 1 is
// the next) returns null. 0 disarms.
void FailHeapAllocation(int nth);
// The nth HeapFree from now returns FALSE and leaves the block allocated. 0 disarms.
void FailHeapFree(int nth);
// Called by the backends: true when this call is the one that must fail.
bool HeapAllocationFails();
// Heap allocations (HeapAlloc and HeapReAlloc) since the last ResetAll, failed ones included,
// so that a test can sweep a failure over every one of them.
int HeapAllocations();
bool HeapFreeFails();

// Everything back to the real behaviour.
void ResetAll();

}  // namespace platform::hooks
