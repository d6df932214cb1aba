#include "platform/hooks.h"

#include <cstdio>
#include <cstdlib>

namespace platform::hooks {
namespace {

struct HookState {
  bool scriptBoxes = false;
  PlainList<int> answers;  // the next answer first
  PlainList<ShownBox> shown;
  ExitHook exitHook = nullptr;
  char* modulePath = nullptr;
  Sse2 sse2 = Sse2::kReal;
  bool screenFaked = false;
  ScreenSize screen{};
  char* commandLine = nullptr;
  bool limitsRead = false;
  unsigned long readLimit = 0;

  int heapAllocationFailsIn = 0;
  int heapFreeFailsIn = 0;
  int heapAllocations = 0;
};

// Counts an armed countdown down; true when it reaches its call.
bool CountDown(int& callsLeft) {
  if (callsLeft <= 0) return false;
  return --callsLeft == 0;
}

HookState& State() {
  static HookState state;
  return state;
}

// Replaces a kept copy of a text; null stays null.
void Keep(char*& kept, const char* text) {
  std::free(kept);
  kept = text != nullptr ? CopyText(text) : nullptr;
}

void FreeShownBoxes() {
  for (const ShownBox& box : State().shown) {
    std::free(const_cast<char*>(box.caption));
    std::free(const_cast<char*>(box.text));
  }
  State().shown.Release();
}

}  // namespace

void ScriptMessageBoxes(bool on) { State().scriptBoxes = on; }
bool MessageBoxesScripted() { return State().scriptBoxes; }
void QueueMessageBoxAnswer(int answer) { State().answers.Append(answer); }
const PlainList<ShownBox>& ShownBoxes() { return State().shown; }
void ClearShownBoxes() { FreeShownBoxes(); }

int DefaultButton(unsigned type) {
  switch (type & 0xFu) {
    case 1:  // MB_OKCANCEL
      return 1;
    case 3:  // MB_YESNOCANCEL
    case 4:  // MB_YESNO
      return 6;
    default:
      return 1;  // IDOK
  }
}

bool AnswerMessageBox(const char* text, const char* caption, unsigned type, int* answer) {
  HookState& s = State();
  if (!s.scriptBoxes) return false;
  s.shown.Append({CopyText(caption ? caption : ""), CopyText(text ? text : ""), type});
  (void)std::fprintf(stderr, "%s\n%s\n", caption ? caption : "Error", text ? text : "");
  (void)std::fflush(stderr);
  if (s.answers.empty()) {
    *answer = DefaultButton(type);
  } else {
    *answer = s.answers[0];
    s.answers.Erase(0);
  }
  return true;
}

void SetExitHook(ExitHook hook) { State().exitHook = hook; }
void RunExitHook(unsigned exitCode) {
  if (State().exitHook) State().exitHook(exitCode);
}

void SetModulePath(const char* path) { Keep(State().modulePath, path); }
const char* ModulePath() { return State().modulePath != nullptr ? State().modulePath : ""; }

void FakeSse2(Sse2 answer) { State().sse2 = answer; }
Sse2 FakedSse2() { return State().sse2; }

void FakeScreenSize(int width, int height) {
  State().screenFaked = true;
  State().screen = {width, height};
}
const ScreenSize* FakedScreenSize() { return State().screenFaked ? &State().screen : nullptr; }

void SetCommandLine(const char* commandLine) { Keep(State().commandLine, commandLine); }
const char* CommandLine() { return State().commandLine; }

void LimitNextRead(unsigned long bytes) {
  State().limitsRead = true;
  State().readLimit = bytes;
}
bool TakeReadLimit(unsigned long* bytes) {
  if (!State().limitsRead) return false;
  State().limitsRead = false;
  *bytes = State().readLimit;
  return true;
}

void FailHeapAllocation(int nth) { State().heapAllocationFailsIn = nth; }
void FailHeapFree(int nth) { State().heapFreeFailsIn = nth; }
bool HeapAllocationFails() {
  ++State().heapAllocations;
  return CountDown(State().heapAllocationFailsIn);
}
int HeapAllocations() { return State().heapAllocations; }
bool HeapFreeFails() { return CountDown(State().heapFreeFailsIn); }

void ResetAll() {
  FreeShownBoxes();
  State().answers.Release();
  Keep(State().modulePath, nullptr);
  Keep(State().commandLine, nullptr);
  State() = HookState{};
}

}  // namespace platform::hooks
