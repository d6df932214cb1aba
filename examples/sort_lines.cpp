// Sorts the lines of a text file ignoring letter case and writes them to another file:
//
//   sort_lines INPUT OUTPUT
//
// INPUT "-" reads standard input. Lines end at CR LF; the output ends every line with CR LF. A
// missing input or an output that cannot be created ends the run with the runtime's fatal-error
// message.
#include <cstdint>
#include <cstdio>

#include "corvala/corvala.h"
#include "examples/standard_input.h"

namespace {

constexpr int32_t kLines = 1;  // the array the file is loaded into
constexpr int32_t kInput = 8;  // the file number standard input is read on

}  // namespace

int main() {
  if (corvala::CommandLineArg(1) == nullptr || corvala::CommandLineArg(2) == nullptr) {
    std::fputs("usage: sort_lines INPUT OUTPUT\n", stderr);
    return 2;
  }
  // Loading and storing reuse the scratch area the arguments lie in: keep copies of both.
  corvala::CommandLineArg(1);
  const char* input = corvala::KeepTempSlotCopy();
  corvala::CommandLineArg(2);
  const char* output = corvala::KeepTempSlotCopy();

  const corvala::RecallResult loaded =
      corvala::Recall(InputFile(input, kInput, "sort_lines"), kLines, 0, 0);
  corvala::SortArray(kLines, 0);
  corvala::Store(output, kLines, loaded.lines);

  corvala::EraseArray(kLines);
  corvala::ReleaseTrackedBlock(corvala::kReleaseAllTracked);
  return 0;
}
