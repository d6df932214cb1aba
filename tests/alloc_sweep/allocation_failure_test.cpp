// Every heap allocation of every allocating operation, failed in turn. For each call the
// sweep counts its allocations, then for N = 1 to that count runs the call in a child with
// the N-th allocation failing: the child must end with ErrorCode 1's box and exit code and
// nothing else on standard error (no sanitizer report, no second box), and every counted
// block must be released by then. Run N + 1 completes.
//
// The heap is reached from nine places, each met by at least one call below: DimArray's
// descriptor, InsertElements' descriptor move (HeapReAlloc), DimRecordArray's block,
// Recall's text block, ConvertCase's and KeepTempSlotCopy's tracked copies, and BuildText's
// tracked result, assigned text and temporary block.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/strings.h"
#include "platform/hooks.h"
#include "runtime/core/state.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::ExitsWith;

// The files live in the test's working folder under fixed names, so that a death-test child
// that runs the test again from the start (as on Windows) finds the same names.
constexpr const char* kLines = "sweep-lines.txt";
constexpr const char* kFields = "sweep-fields.tsv";
constexpr const char* kOther = "sweep-other.txt";
constexpr const char* kStored = "sweep-stored.txt";
constexpr const char* kLarge = "sweep-large.txt";
// Above the scratch area's text limit, so a text of this size needs a temporary heap block.
constexpr size_t kLargeSize = 700000;

void WriteFile(const char* name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}

// A string variable of the calling program's own.
ElementRecord g_variable{};

// Everything released and the runtime and hooks as new.
void Fresh() {
  if (g_variable.length > 0) CountedFree(const_cast<char*>(g_variable.text));
  g_variable = {};
  EraseArray(kEraseAllArrays);
  ReleaseTrackedBlock(kReleaseAllTracked);
  CloseFile(kCloseAllFiles);
  internal::ResetRuntimeState();
  platform::hooks::ResetAll();
  platform::hooks::ScriptMessageBoxes(true);
}

// Array 3 with five elements, three of them heap texts of their own.
void FilledArray() {
  DimArray(3, 4, 0);
  for (uint32_t i : {0u, 2u, 4u}) {
    ElementText(3, i);
    BuildText(kBuildAssign, {"element ", i == 2 ? "two" : "other"});
  }
}

// A tracked heap string built earlier, replaced by the call.
Word g_trackedString = 0;

std::string g_large;
char* LargeBuffer() {
  static std::vector<char> buffer(kLargeSize + 64);
  return buffer.data();
}

struct Operation {
  const char* name;
  void (*prepare)();
  void (*call)();
};

void Nothing() {}

const Operation kOperations[] = {
    {"RuntimeStartup", Nothing, [] { RuntimeStartup(); }},
    {"DimArray", Nothing, [] { DimArray(3, 9, 7); }},
    {"DimArrayTwoIndex", Nothing, [] { DimArray(4, static_cast<int32_t>(TwoIndex(3, 2)) - 1, 0); }},
    {"DimArrayOverOwnedTexts", FilledArray, [] { DimArray(3, 2, 0); }},
    {"InsertElements", FilledArray,
     [] {
       ElementText(3, 2);
       InsertElements(3);
     }},
    {"RemoveElements", FilledArray,
     [] {
       ElementText(3, 1);
       InsertElements(-2);
     }},
    {"DimRecordArray", Nothing, [] { DimRecordArray(5, 12, 9); }},
    {"RecallByName", [] { WriteFile(kLines, "one\r\ntwo\r\n\r\nthree"); },
     [] { Recall(kLines, 3, 0, 0); }},
    {"RecallOverAnArray",
     [] {
       WriteFile(kLines, "one\r\ntwo\r\n");
       FilledArray();
     },
     [] { Recall(kLines, 3, 5, 0); }},
    {"RecallTabFields", [] { WriteFile(kFields, "a\tb\r\nc\td\r\n"); },
     [] {
       Recall(kFields, 6, 0, kTabFields);
       ElementText(6, TwoIndex(1, 1));
     }},
    {"RecallFromFileNumber",
     [] {
       WriteFile(kLines, "one\r\ntwo\r\n");
       OpenInput(2, kLines, 0);
     },
     [] {
       int32_t lines = 0;
       Recall(2, 7, 0, &lines);
     }},
    {"ConvertCase", Nothing, [] { ConvertCase("Mixed Case", 1); }},
    {"KeepTempSlotCopy", [] { SliceText("a temporary text", 4, 3); }, [] { KeepTempSlotCopy(); }},
    {"AssignToElement", FilledArray,
     [] {
       ElementText(3, 2);  // the destination
       ElementText(3, 2);  // the old text as a piece
       BuildText(kBuildAssign, {127, " and more"});
     }},
    {"AssignToVariable", Nothing,
     [] {
       TargetVariable(g_variable);
       BuildText(kBuildAssign, {"a ", "variable"});
     }},
    {"TrackedString",
     [] {
       g_trackedString = BuildText(kBuildAssign | kBuildTracked, {"old", 0});
     },
     [] {
       BuildText(kBuildAssign | kBuildTracked,
                 {"new ", "text", reinterpret_cast<const char*>(g_trackedString)});
     }},
    {"TemporaryBlock", [] { g_large.assign(kLargeSize, 'x'); },
     [] {
       TargetBuffer(LargeBuffer(), kLargeSize + 64);
       BuildText(kTargetBuffer, {g_large.c_str(), "!"});
     }},
    {"SubstituteAssigned", FilledArray,
     [] {
       ElementText(3, 0);
       SubstituteText("a-b-c", "-", "+", 0);
       BuildText(kBuildAssign, {127});
     }},
    {"New$Tracked", Nothing,
     [] {
       New$(100);
       BuildText(kBuildAssign | kBuildTracked, {127, 0});
     }},
    {"FileRead$Assigned",
     [] {
       WriteFile(kOther, "file contents\r\n");
       FilledArray();
     },
     [] {
       ElementText(3, 4);
       FileRead$(kOther);
       BuildText(kBuildAssign, {"[", 127, "]"});
     }},
    {"FileRead$Large",
     [] {
       WriteFile(kLarge, std::string(kLargeSize, 'y'));
       g_large.clear();
     },
     [] {
       TargetBuffer(LargeBuffer(), kLargeSize + 64);
       FileRead$(kLarge);
       BuildText(kTargetBuffer, {127});
     }},
    {"Store", FilledArray, [] { Store(kStored, 3, -1); }},
    {"SortArray", FilledArray, [] { SortArray(3, 0); }},
    {"FileCompare",
     [] {
       WriteFile(kLines, "one\r\ntwo\r\n");
       WriteFile(kOther, "one\r\nTwo\r\n");
     },
     [] { FileCompare(kLines, kOther, 1); }},
    {"ElementField", [] { WriteFile(kFields, "a\tb\r\nc\td\r\n"); },
     [] {
       Recall(kFields, 8, 0, kTabFields);
       ElementText(8, TwoIndex(0, 2));
       TrimText(FieldBuffer(), TrimLeading | TrimTrailing);
     }},
};

// CountedAlloc counts the allocation that failed too; a failed HeapReAlloc is not counted.
int32_t g_failureCounted = 0;

// On the fatal path, after the box: every counted block must have been released (arrays,
// their backing blocks and texts, tracked blocks). Anything left is written out, which the
// death test's pattern does not allow.
void CheckNothingIsLeft(unsigned) {
  int tracked = 0;
  for (int i = 0; i < kCvHeapStrings; ++i) tracked += TrackedBlockTable()[i] != 0;
  int32_t left = AllocationCount - ReleaseCount - g_failureCounted;
  if (left != 0 || tracked != 0) {
    std::fprintf(stderr, "left behind: %d blocks, %d tracked\n", static_cast<int>(left), tracked);
  }
}

// The run's totals, printed at the end.
struct Tally {
  int operations = 0;
  int allocations = 0;
  int runs = 0;
};
Tally g_tally;

class TallyPrinter : public ::testing::Environment {
 public:
  void TearDown() override {
    for (const char* name : {kLines, kFields, kOther, kStored, kLarge}) std::remove(name);
    if (g_tally.operations == 0) return;
    std::printf("allocation sweep: %d calls, %d allocations failed in turn, %d runs\n",
                g_tally.operations, g_tally.allocations, g_tally.runs);
  }
};
const auto* const g_printer = ::testing::AddGlobalTestEnvironment(new TallyPrinter);

// The one permitted end: ErrorCode 1's box and nothing else.
const char* const kOnlyTheBox = "^Fatal error:\\s+HeapAlloc\\s*$";

class AllocationFailureSweep : public ::testing::TestWithParam<Operation> {
 protected:
  void TearDown() override { Fresh(); }
};

TEST_P(AllocationFailureSweep, EveryAllocationFailsCleanly) {
  const Operation& op = GetParam();
  Fresh();
  op.prepare();
  const int before = platform::hooks::HeapAllocations();
  const int32_t counted = AllocationCount;
  op.call();
  const int allocations = platform::hooks::HeapAllocations() - before;
  // Every allocation of a call goes through CountedAlloc, or none does (the descriptor moves
  // of InsertElements), so the failing one is counted or not whichever it is.
  const int32_t countedAllocations = AllocationCount - counted;
  ASSERT_TRUE(countedAllocations == 0 || countedAllocations == allocations);
  g_failureCounted = countedAllocations == 0 ? 0 : 1;

  for (int n = 1; n <= allocations; ++n) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(allocations));
    EXPECT_EXIT(
        {
          Fresh();
          op.prepare();
          platform::hooks::SetExitHook(CheckNothingIsLeft);
          platform::hooks::FailHeapAllocation(n);
          op.call();
          std::fprintf(stderr, "the call completed\n");
        },
        ExitsWith(-static_cast<int>(kErrorHeapAlloc)), kOnlyTheBox);
  }

  // One past the last: the call meets no failure and completes, with the same allocations.
  Fresh();
  op.prepare();
  const int again = platform::hooks::HeapAllocations();
  platform::hooks::FailHeapAllocation(allocations + 1);
  op.call();
  EXPECT_EQ(platform::hooks::HeapAllocations() - again, allocations);
  EXPECT_TRUE(platform::hooks::ShownBoxes().empty());

  std::printf("%s: %d allocations\n", op.name, allocations);
  ++g_tally.operations;
  g_tally.allocations += allocations;
  g_tally.runs += allocations + 1;
}

INSTANTIATE_TEST_SUITE_P(Calls, AllocationFailureSweep, ::testing::ValuesIn(kOperations),
                         [](const ::testing::TestParamInfo<Operation>& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (c == '$') c = 'S';
                           }
                           return name;
                         });

}  // namespace
}  // namespace corvala
