#include "platform/plain_list.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void OutOfMemory() {
  (void)std::fputs("Out of memory\n", stderr);
  std::abort();
}

void* Reallocate(void* block, size_t bytes) {
  void* grown = std::realloc(block, bytes);
  if (grown == nullptr) OutOfMemory();
  return grown;
}

char* CopyText(const char* text, size_t length) {
  if (length == SIZE_MAX) OutOfMemory();
  auto* copy = static_cast<char*>(Reallocate(nullptr, length + 1));
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  return copy;
}

void AppendText(PlainList<char>& text, const char* more, size_t length) {
  text.Append(more, length);
  text.Append('\0');
  text.Truncate(text.size() - 1);
}

}  // namespace platform
