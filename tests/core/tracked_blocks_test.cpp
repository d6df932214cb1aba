#include <cstdio>

#include "corvala/core.h"
#include "platform/hooks.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::ExitsWith;
using testing::RuntimeTest;
using testing::ShownBoxPattern;

class TrackedBlocksTest : public RuntimeTest {};

Word AsWord(void* block) { return reinterpret_cast<Word>(block); }

TEST_F(TrackedBlocksTest, TakesTheLowestFreeEntryAndReleasesByBlock) {
  void* a = AllocTracked(8, 0);
  void* b = AllocTracked(8, 0);
  void* c = AllocTracked(8, 0);
  ReleaseTrackedBlock(AsWord(b));
  EXPECT_EQ(ReleaseCount, 1);
  EXPECT_EQ(TrackedBlockTable()[1], 0u);
  void* d = AllocTracked(8, 0);
  EXPECT_EQ(TrackedBlockTable()[1], AsWord(d));
  EXPECT_EQ(TrackedBlockTable()[0], AsWord(a));
  EXPECT_EQ(TrackedBlockTable()[2], AsWord(c));

  int dummy;
  ReleaseTrackedBlock(0);
  ReleaseTrackedBlock(AsWord(&dummy));  // not tracked: nothing happens
  EXPECT_EQ(ReleaseCount, 1);

  ReleaseTrackedBlock(kReleaseAllTracked);
  EXPECT_EQ(ReleaseCount, 4);
  for (int i = 0; i < kCvHeapStrings; ++i) EXPECT_EQ(TrackedBlockTable()[i], 0u) << i;
  ReleaseTrackedBlock(kReleaseAllTracked);
  EXPECT_EQ(ReleaseCount, 4);
}

// The 101st block stays allocated and unrecorded; the fatal path releases the other 100.
TEST_F(TrackedBlocksTest, TheBlockBeyondTheCapacityIsFatal) {
  EXPECT_EXIT(
      {
        platform::hooks::SetExitHook([](unsigned) {
          std::fprintf(stderr, "allocated %d released %d\n", static_cast<int>(AllocationCount),
                       static_cast<int>(ReleaseCount));
        });
        for (int i = 0; i <= kCvHeapStrings; ++i) AllocTracked(4, 0);
      },
      ExitsWith(-8),
      ShownBoxPattern("Fatal error:", "Too many strings: increase CvHeapStrings") +
          "allocated 101 released 100\n");
}

}  // namespace
}  // namespace corvala
