#include <cstdint>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "platform/text.h"

namespace corvala {

const char* ConvertCase(const char* source, int32_t upper) {
  if (source == nullptr) source = EmptyText;
  uint32_t length = TextLength(source);
  char* block = static_cast<char*>(AllocTracked(length + 1, 0));
  CopyBytes(block, source, static_cast<int32_t>(length + 1));
  // The terminator is converted too; it stays zero.
  if (upper != 0) {
    platform::CharUpperBuffA(block, length + 1);
  } else {
    platform::CharLowerBuffA(block, length + 1);
  }
  TempSlot* slot = SelectTempSlot(kSlotAdvance);
  *slot = {block, static_cast<int32_t>(length)};
  return block;
}

}  // namespace corvala
