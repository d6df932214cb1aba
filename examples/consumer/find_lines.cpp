// Lists the lines of a text file that hold a word, letter case aside, each after its line
// number, then how many there were.
//
//   find_lines FILE WORD
#include <corvala/corvala.h>
// Included second, to show that corvala.h stands on its own; the C interface reaches the
// same runtime state as the C++ one.
#include <corvala/corvala_c.h>

#include <cstdio>

namespace {

constexpr int32_t kLines = 2;
constexpr int kLineBreak = 1;

}  // namespace

int main() {
  using namespace corvala;
  if (CommandLineArg(2) == nullptr) {
    std::fputs("usage: find_lines FILE WORD\n", stderr);
    return 2;
  }
  const char* word = KeepTempSlotCopy();
  CommandLineArg(1);
  const char* file = KeepTempSlotCopy();

  const RecallResult loaded = Recall(file, kLines, 0, 0);
  int32_t found = 0;
  for (int32_t i = 0; i < loaded.lines; ++i) {
    if (FindText(-1, ElementText(kLines, i).text, word, FindIgnoreCase).position == 0) continue;
    ++found;
    NumberText("%i: ", i + 1);
    ElementText(kLines, i);
    BuildText(0, {kCurrentSlot, kCurrentSlot, kLineBreak});
  }
  NumberText("%i of ", found);
  NumberText("%i lines", loaded.lines);
  BuildText(0, {kCurrentSlot, kCurrentSlot, kLineBreak});

  const bool oneState =
      cv_LastFoundPosition() == &LastFoundPosition && cv_ArrayTable() == ArrayTable();
  BuildText(0, {oneState ? "one runtime state" : "two runtime states", kLineBreak});

  EraseArray(kLines);
  ReleaseTrackedBlock(kReleaseAllTracked);
  return oneState ? 0 : 1;
}
