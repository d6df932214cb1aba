// A page of memory followed by an inaccessible one, so that a routine that reads past the end
// of a string placed at the page's end crashes instead of passing by luck.
#pragma once

#include <cstddef>
#include <cstring>

#ifdef _WIN32
#include "platform/types.h"
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace corvala::testing {

class GuardedPage {
 public:
  GuardedPage() {
#ifdef _WIN32
    base_ = static_cast<char*>(
        ::VirtualAlloc(nullptr, 2 * kSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old;
    ::VirtualProtect(base_ + kSize, kSize, PAGE_NOACCESS, &old);
#else
    base_ = static_cast<char*>(
        mmap(nullptr, 2 * kSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    mprotect(base_ + kSize, kSize, PROT_NONE);
#endif
    std::memset(base_, 'x', kSize);
  }
  ~GuardedPage() {
#ifdef _WIN32
    ::VirtualFree(base_, 0, MEM_RELEASE);
#else
    munmap(base_, 2 * kSize);
#endif
  }
  GuardedPage(const GuardedPage&) = delete;
  GuardedPage& operator=(const GuardedPage&) = delete;

  // Copies `size` bytes so that they end at the last accessible byte; returns their start.
  template <typename T>
  T* PlaceAtEnd(const T* data, size_t count) {
    char* at = base_ + kSize - count * sizeof(T);
    std::memcpy(at, data, count * sizeof(T));
    return reinterpret_cast<T*>(at);
  }
  char* End() { return base_ + kSize; }

  static constexpr size_t kSize = 4096;

 private:
  char* base_;
};

}  // namespace corvala::testing
