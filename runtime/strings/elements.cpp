// Reading one element of a string array: ElementText.
#include <cstddef>
#include <cstdint>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "runtime/core/state.h"
#include "runtime/strings/array_access.h"
#include "runtime/strings/fields.h"

namespace corvala {

// The pseudo-element -1 is the (user value, shape) pair in front of element 0.
static_assert(offsetof(ArrayDescriptor, userValue) + sizeof(ElementRecord) ==
              sizeof(ArrayDescriptor));
static_assert(offsetof(ArrayDescriptor, shape) ==
              offsetof(ArrayDescriptor, userValue) + offsetof(ElementRecord, length));

TextRecord ElementText(int32_t arrayNumber, uint32_t index) {
  ArrayDescriptor* descriptor = internal::LiveArray(arrayNumber);
  const int32_t shape = descriptor->shape;
  int64_t linear = static_cast<int32_t>(index);
  bool wantField = false;
  uint32_t field = 0;
  if (shape != 0) {
    if (!IsTwoIndex(index)) {
      linear = FirstIndex(index);
    } else {
      const uint32_t i = FirstIndex(index);
      const uint32_t j = SecondIndex(index);
      if (shape > 0 && j != 0) {
        linear = int64_t{i} + int64_t{j} * shape;
      } else {
        linear = i;
        wantField = shape <= kTabFields;
        field = j;
      }
    }
  }
  LastElementAccess = {arrayNumber, static_cast<int32_t>(linear)};
  if (linear >= descriptor->count || linear < -1) FatalErrorLine(kErrorCountTooHigh);

  TextRecord result;
  Word origin;
  if (linear == -1) {
    result = {reinterpret_cast<const char*>(descriptor->userValue), descriptor->shape};
    origin = reinterpret_cast<Word>(&descriptor->userValue);
  } else {
    ElementRecord* element = &descriptor->elements()[linear];
    origin = reinterpret_cast<Word>(element);
    if (element->text == nullptr) {
      result = {EmptyText, 0};
    } else if (wantField) {
      result = internal::ExtractField(
          element, field,
          shape == kTabFields ? internal::FieldKind::kTab : internal::FieldKind::kComma);
    } else {
      result = {element->text, element->length};
    }
  }
  TempSlot* slot = SelectTempSlot(kSlotAdvance);
  *slot = result;
  internal::g_state.core.slotOrigin[internal::RingIndex()] = origin;
  return result;
}

}  // namespace corvala
