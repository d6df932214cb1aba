#include "platform/hooks.h"

#include <cstdio>
#include <deque>

namespace platform::hooks {
namespace {

struct HookState {
  bool scriptBoxes = false;
  std::deque<int> answers;
  std::vector<ShownBox> shown;
  ExitHook exitHook = nullptr;
  std::string modulePath;
  Sse2 sse2 = Sse2::kReal;
  bool screenFaked = false;
  ScreenSize screen{};
  bool hasCommandLine = false;
  std::string commandLine;
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

}  // namespace

void ScriptMessageBoxes(bool on) { State().scriptBoxes = on; }
bool MessageBoxesScripted() { return State().scriptBoxes; }
void QueueMessageBoxAnswer(int answer) { State().answers.push_back(answer); }
const std::vector<ShownBox>& ShownBoxes() { return State().shown; }
void ClearShownBoxes() { State().shown.clear(); }

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
  s.shown.push_back({caption ? caption : "", text ? text : "", type});
  (void)std::fprintf(stderr, "%s\n%s\n", caption ? caption : "Error", text ? text : "");
  (void)std::fflush(stderr);
  if (s.answers.empty()) {
    *answer = DefaultButton(type);
  } else {
    *answer = s.answers.front();
    s.answers.pop_front();
  }
  return true;
}

void SetExitHook(ExitHook hook) { State().exitHook = hook; }
void RunExitHook(unsigned exitCode) {
  if (State().exitHook) State().exitHook(exitCode);
}

void SetModulePath(const std::string& path) { State().modulePath = path; }
const std::string& ModulePath() { return State().modulePath; }

void FakeSse2(Sse2 answer) { State().sse2 = answer; }
Sse2 FakedSse2() { return State().sse2; }

void FakeScreenSize(int width, int height) {
  State().screenFaked = true;
  State().screen = {width, height};
}
const ScreenSize* FakedScreenSize() { return State().screenFaked ? &State().screen : nullptr; }

void SetCommandLine(const std::string& commandLine) {
  State().hasCommandLine = true;
  State().commandLine = commandLine;
}
const std::string* CommandLine() { return State().hasCommandLine ? &State().commandLine : nullptr; }

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

void ResetAll() { State() = HookState{}; }

}  // namespace platform::hooks
