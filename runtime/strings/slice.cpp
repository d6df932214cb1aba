#include <cstdint>

#include "corvala/core.h"
#include "corvala/strings.h"

namespace corvala {
namespace {

// Shared-string ids 0 to 9 and the sixteen slot records after them.
constexpr Word kTableIds = 26;

TextRecord SourceText(TextArg source) {
  if (source.word() == kCurrentSlot) {
    const TempSlot* slot = SelectTempSlot(kSlotCurrent);
    int32_t length = slot->length < 0 ? -slot->length : slot->length;
    return {slot->text, length};
  }
  if (source.IsSmall()) {
    if (TempSlotIndex() == 0) RuntimeStartup();
    // Ids past the table would read whatever lies beyond it.
    if (source.word() >= kTableIds) return {EmptyText, 0};
    TextRecord record = SharedStringTable()[source.word()];
    if (record.length < 0) record.length = -record.length;
    return record;
  }
  return {source.bytes(), static_cast<int32_t>(TextLength(source.bytes()))};
}

TextRecord ChooseView(TextRecord source, int32_t count, int32_t start) {
  const char* text = source.text;
  int32_t length = source.length;
  if (count == 0 || start == 0) return {text, 0};
  if (start < 0) {
    if (count > length || count < 0) return {text, length};
    return {text + (length - count), count};
  }
  if (start > length) return {text, 0};
  uint32_t rest = static_cast<uint32_t>(length) - static_cast<uint32_t>(start) + 1;
  uint32_t n = static_cast<uint32_t>(count) > rest ? rest : static_cast<uint32_t>(count);
  return {text + (start - 1), static_cast<int32_t>(n)};
}

}  // namespace

const char* SliceText(TextArg source, int32_t count, int32_t start) {
  TextRecord view = ChooseView(SourceText(source), count, start);
  Word request = source.word() == kCurrentSlot ? kSlotCurrent : reinterpret_cast<Word>(view.text);
  TempSlot* slot = SelectTempSlot(request);
  *slot = view;
  return view.text;
}

}  // namespace corvala
