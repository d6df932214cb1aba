// Prints one field of one record of a tab-separated text file, followed by a line break:
//
//   tab_field FILE RECORD FIELD
//
// RECORD and FIELD count from 0: record 0 is the file's first line, field 0 the text before
// its first tab. FILE "-" reads standard input. A missing file or a record past the last ends the
// run with the runtime's fatal-error message; a field past the last of its record prints an empty
// line.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "corvala/corvala.h"
#include "examples/standard_input.h"

namespace {

constexpr int32_t kRecords = 3;  // the array the file is loaded into
constexpr int kLineBreak = 1;    // shared-table id of CR LF
constexpr int32_t kInput = 8;    // the file number standard input is read on

// Command-line argument `index` as a number from 0 to `largest`, or -1 when it is missing or
// not a plain decimal number.
int32_t NumberArgument(int32_t index, long largest) {
  const char* text = corvala::CommandLineArg(index);
  if (text == nullptr || *text < '0' || *text > '9') return -1;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return *end == '\0' && value <= largest ? static_cast<int32_t>(value) : -1;
}

}  // namespace

int main() {
  const int32_t record = NumberArgument(2, corvala::kFirstIndexMask);
  const int32_t field = NumberArgument(3, 255);
  if (corvala::CommandLineArg(1) == nullptr || record < 0 || field < 0) {
    std::fputs("usage: tab_field FILE RECORD FIELD (RECORD and FIELD from 0)\n", stderr);
    return 2;
  }
  // The argument's slot would be reused by later results: keep a copy of the name.
  corvala::CommandLineArg(1);
  const char* name = corvala::KeepTempSlotCopy();
  corvala::Recall(InputFile(name, kInput, "tab_field"), kRecords, 0, corvala::kTabFields);
  corvala::ElementText(kRecords, corvala::TwoIndex(record, field));
  corvala::BuildText(0, {corvala::kCurrentSlot, kLineBreak});

  corvala::EraseArray(kRecords);
  corvala::ReleaseTrackedBlock(corvala::kReleaseAllTracked);
  return 0;
}
