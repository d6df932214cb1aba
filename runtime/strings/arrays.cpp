// Creating and reshaping string arrays: DimArray, SwapArrays, InsertElements.
#include <cstdint>
#include <cstring>
#include <utility>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "platform/heap.h"
#include "runtime/core/state.h"
#include "runtime/strings/array_access.h"

namespace corvala {

ElementAccess& LastElementAccess = internal::g_state.strings.lastElementAccess;

namespace {

using internal::ArrayEntry;

// A block size is pointer-sized: a descriptor beyond it cannot be allocated.
constexpr uint64_t kLargestBlock = SIZE_MAX;

uint64_t DescriptorSize(uint64_t records) {
  return sizeof(ArrayDescriptor) + records * sizeof(ElementRecord);
}

void ReleaseText(const ElementRecord& element) {
  if (element.length > 0) CountedFree(const_cast<char*>(element.text));
}

}  // namespace

namespace internal {

ArrayDescriptor* ResizeDescriptor(ArrayDescriptor* descriptor, int64_t count) {
  uint64_t size = DescriptorSize(static_cast<uint64_t>(count) + 1);
  HANDLE heap = platform::GetProcessHeap();
  void* block = nullptr;
  if (heap != nullptr && size <= kLargestBlock) {
    block = platform::HeapReAlloc(heap, 0, descriptor, static_cast<SIZE_T>(size));
  }
  if (block == nullptr) FatalError(kErrorHeapAlloc, 0);
  return static_cast<ArrayDescriptor*>(block);
}

}  // namespace internal

ArrayDescriptor* DimArray(int32_t arrayNumber, int32_t n, Word userValue) {
  Word& entry = ArrayEntry(arrayNumber);
  EraseArray(arrayNumber);
  uint32_t v = static_cast<uint32_t>(n) + 1;
  uint64_t count = v;
  int32_t shape = 0;
  if (IsTwoIndex(v)) {
    uint32_t rows = FirstIndex(v);
    count = uint64_t{rows} * (SecondIndex(v) + 1);
    shape = static_cast<int32_t>(rows);
  }
  uint64_t size = DescriptorSize(count);
  if (size > kLargestBlock) FatalError(kErrorHeapAlloc, 0);
  auto* descriptor =
      static_cast<ArrayDescriptor*>(CountedAlloc(static_cast<size_t>(size), kHeapZeroMemory));
  entry = reinterpret_cast<Word>(descriptor);
  descriptor->count = static_cast<int32_t>(count);
  descriptor->userValue = userValue;
  descriptor->shape = shape;
  return descriptor;
}

void SwapArrays(int32_t a, int32_t b) { std::swap(ArrayEntry(a), ArrayEntry(b)); }

void InsertElements(int32_t n) {
  const ElementAccess access = LastElementAccess;
  Word& entry = ArrayEntry(access.arrayNumber);
  if (entry == 0) FatalErrorLine(kErrorCountTooHigh);
  if (entry == kErased) FatalErrorLine(kErrorArrayErased);
  auto* descriptor = reinterpret_cast<ArrayDescriptor*>(entry);
  const int64_t count = descriptor->count;
  const int64_t newCount = count + n;
  if (newCount <= 0) return;

  // The access may be stale (the array reshaped since) or the pseudo-element -1: never move
  // records outside the array.
  const int64_t k = access.index;
  const int64_t touched = n > 0 ? 0 : (n == 0 ? 1 : -int64_t{n});
  if (k < 0 || k + touched > count) FatalErrorLine(kErrorCountTooHigh);
  // The count is taken whole, not wrapped to 32 bits: one past 2^31 - 1 cannot be held.
  if (newCount > INT32_MAX) FatalError(kErrorHeapAlloc, 0);

  ElementRecord* elements = descriptor->elements();
  if (n <= 0) {
    for (int64_t i = k; i < k + touched; ++i) ReleaseText(elements[i]);
    if (n == 0) {
      elements[k] = {EmptyText, 0};
    } else {
      std::memmove(elements + k, elements + k + touched,
                   static_cast<size_t>(count - k - touched) * sizeof(ElementRecord));
    }
    // The count shrinks before the block does, so that a failed reallocation leaves an array
    // that the fatal-error path can release.
    descriptor->count = static_cast<int32_t>(newCount);
  }
  descriptor = internal::ResizeDescriptor(descriptor, newCount);
  entry = reinterpret_cast<Word>(descriptor);
  if (n > 0) {
    elements = descriptor->elements();
    std::memmove(elements + k + n, elements + k,
                 static_cast<size_t>(count - k) * sizeof(ElementRecord));
    for (int64_t i = k; i < k + n; ++i) elements[i] = {EmptyText, 0};
    descriptor->count = static_cast<int32_t>(newCount);
  }
}

}  // namespace corvala
