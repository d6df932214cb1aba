#include "platform/heap.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/hooks.h"

namespace {

TEST(HeapTest, ZeroFillsOnAllocationAndOnGrowth) {
  HANDLE heap = platform::GetProcessHeap();
  ASSERT_NE(heap, nullptr);
  auto* block = static_cast<unsigned char*>(platform::HeapAlloc(heap, HEAP_ZERO_MEMORY, 10));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(block[i], 0) << i;
  std::memset(block, 0xAB, 10);
  block = static_cast<unsigned char*>(platform::HeapReAlloc(heap, HEAP_ZERO_MEMORY, block, 1000));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(block[i], 0xAB) << i;
  for (int i = 10; i < 1000; ++i) ASSERT_EQ(block[i], 0) << i;
  EXPECT_TRUE(platform::HeapFree(heap, 0, block));
}

TEST(HeapTest, HooksFailTheNthAllocationAndRelease) {
  HANDLE heap = platform::GetProcessHeap();
  platform::hooks::FailHeapAllocation(2);
  void* first = platform::HeapAlloc(heap, 0, 8);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(platform::HeapReAlloc(heap, 0, first, 16), nullptr);
  void* third = platform::HeapAlloc(heap, 0, 8);
  EXPECT_NE(third, nullptr);

  platform::hooks::FailHeapFree(1);
  EXPECT_FALSE(platform::HeapFree(heap, 0, first));
  EXPECT_TRUE(platform::HeapFree(heap, 0, first)) << "a refused block stays allocated";
  EXPECT_TRUE(platform::HeapFree(heap, 0, third));
  platform::hooks::ResetAll();
}

}  // namespace
