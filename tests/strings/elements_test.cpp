#include <cstdint>
#include <cstring>
#include <string>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "tests/strings/array_test_support.h"

namespace corvala {
namespace {

using testing::ArrayTest;
using testing::ExitsWith;

constexpr uint32_t kPseudoElement = static_cast<uint32_t>(-1);

TEST_F(ArrayTest, ElementTextIsAViewOfTheElementInTheNextSlot) {
  ArrayDescriptor* array = MakeArray(4, {"zero", "one", nullptr});
  array->elements()[2] = OwnedText("two");
  const int32_t before = TempSlotIndex();

  TextRecord one = ElementText(4, 1);
  EXPECT_EQ(one.text, array->elements()[1].text);  // the element's own text, not a copy
  EXPECT_EQ(one.length, -3);                       // with its sign: not owned
  const TempSlot* slot = SelectTempSlot(kSlotCurrent);
  EXPECT_EQ(slot->text, one.text);
  EXPECT_EQ(slot->length, -3);
  EXPECT_NE(TempSlotIndex(), before);
  EXPECT_EQ(SlotOrigin(TempSlotIndex()), reinterpret_cast<Word>(&array->elements()[1]));

  TextRecord two = ElementText(4, 2);
  EXPECT_STREQ(two.text, "two");
  EXPECT_EQ(two.length, 3);
  EXPECT_EQ(LastElementAccess.arrayNumber, 4);
  EXPECT_EQ(LastElementAccess.index, 2);
}

TEST_F(ArrayTest, UnassignedElementsReadAsTheSharedEmptyText) {
  ArrayDescriptor* array = DimArray(5, 9, 0);
  TextRecord r = ElementText(5, 3);
  EXPECT_EQ(r.text, EmptyText);
  EXPECT_EQ(r.length, 0);
  EXPECT_EQ(SlotOrigin(TempSlotIndex()), reinterpret_cast<Word>(&array->elements()[3]));
}

TEST_F(ArrayTest, ThePseudoElementIsTheUserValueAndTheShape) {
  static const char kUser[] = "user";
  DimArray(5, 9, 0);
  TextRecord none = ElementText(5, kPseudoElement);
  EXPECT_EQ(none.text, nullptr);
  EXPECT_EQ(none.length, 0);

  ArrayDescriptor* array = DimArray(5, -1, reinterpret_cast<Word>(kUser));
  TextRecord user = ElementText(5, kPseudoElement);
  EXPECT_EQ(user.text, kUser);
  EXPECT_EQ(user.length, 0);
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->text, kUser);
  EXPECT_EQ(SlotOrigin(TempSlotIndex()), reinterpret_cast<Word>(&array->userValue));
  EXPECT_EQ(LastElementAccess.index, -1);
}

TEST_F(ArrayTest, IndicesDecodeByTheArraysShape) {
  // Element texts name their linear index.
  static const char* const kTexts[] = {"0", "1", "2", "3", "4",  "5",
                                       "6", "7", "8", "9", "10", "11"};
  auto fill = [](ArrayDescriptor* array) {
    for (int32_t i = 0; i < array->count; ++i) array->elements()[i] = {kTexts[i], -1};
  };
  fill(DimArray(1, 11, 0));                                        // one-dimensional
  fill(DimArray(2, static_cast<int32_t>(TwoIndex(4, 2) - 1), 0));  // R = 4, M = 3
  ArrayDescriptor* tabs = DimArray(3, 11, 0);                      // field-marked
  fill(tabs);
  tabs->shape = kTabFields;
  struct Case {
    int32_t array;
    uint32_t index;
    const char* text;
  } cases[] = {
      {1, 7, "7"},
      {2, 3, "3"},               // a plain index in a two-dimensional array
      {2, TwoIndex(3, 0), "3"},  // column 0
      {2, TwoIndex(1, 1), "5"},  // row + column x R
      {2, TwoIndex(3, 2), "11"},
      {2, 0x00800005u, "5"},  // bit 31 clear: bits 23 to 30 are ignored
      {3, 0x00800009u, "9"},  // likewise in a field-marked array: the whole element
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.array << " " << std::hex << c.index);
    EXPECT_STREQ(ElementText(c.array, c.index).text, c.text);
  }
  EXPECT_EQ(LastElementAccess.index, 9);
}

TEST_F(ArrayTest, FieldMarkedArraysYieldOneFieldInTheFieldBuffer) {
  ArrayDescriptor* tabs = MakeArray(3, {"a\tbb\tccc", "whole,element"});
  tabs->shape = kTabFields;
  ArrayDescriptor* commas = MakeArray(4, {"x,\"y,z\",w"});
  commas->shape = kCommaFields - 5;  // any value below the tab marker means commas

  TextRecord bb = ElementText(3, TwoIndex(0, 1));
  EXPECT_EQ(bb.text, FieldBuffer());
  EXPECT_EQ(bb.length, 2);
  EXPECT_STREQ(FieldBuffer(), "bb");
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->text, FieldBuffer());
  EXPECT_EQ(SlotOrigin(TempSlotIndex()), reinterpret_cast<Word>(&tabs->elements()[0]));
  EXPECT_EQ(LastFieldAccess.record, &tabs->elements()[0]);
  EXPECT_EQ(LastFieldAccess.elementText, tabs->elements()[0].text);
  EXPECT_EQ(LastFieldAccess.elementLength, tabs->elements()[0].length);
  EXPECT_EQ(LastFieldAccess.fieldStart, tabs->elements()[0].text + 2);
  EXPECT_EQ(LastFieldAccess.fieldLength, 2);
  // The access record lies directly in front of the field text.
  EXPECT_EQ(reinterpret_cast<const char*>(&LastFieldAccess + 1), FieldBuffer());

  EXPECT_STREQ(ElementText(4, TwoIndex(0, 1)).text, "y,z");
  EXPECT_STREQ(ElementText(4, TwoIndex(0, 2)).text, "w");
  EXPECT_STREQ(FieldBuffer(), "w");  // only the latest field is kept

  // A missing field is the empty text and leaves the last field alone.
  TextRecord missing = ElementText(3, TwoIndex(0, 5));
  EXPECT_EQ(missing.text, EmptyText);
  EXPECT_EQ(missing.length, 0);
  EXPECT_EQ(SlotOrigin(TempSlotIndex()), reinterpret_cast<Word>(&tabs->elements()[0]));
  EXPECT_STREQ(FieldBuffer(), "w");

  // A plain index still reads the whole element.
  TextRecord whole = ElementText(3, 1);
  EXPECT_EQ(whole.text, tabs->elements()[1].text);
}

TEST_F(ArrayTest, AFieldLongerThanTheBufferIsCut) {
  std::string text = "a\t" + std::string(5000, 'x') + "\tb";
  ArrayDescriptor* array = MakeArray(3, {text.c_str()});
  array->shape = kTabFields;
  TextRecord field = ElementText(3, TwoIndex(0, 1));
  EXPECT_EQ(field.length, kFieldBufferSize - 1);
  EXPECT_EQ(SelectTempSlot(kSlotCurrent)->length, kFieldBufferSize - 1);
  EXPECT_EQ(std::strlen(FieldBuffer()), static_cast<size_t>(kFieldBufferSize - 1));
  EXPECT_EQ(LastFieldAccess.fieldLength, 5000);  // the field as it lies in the element
}

using ElementDeathTest = ArrayTest;

TEST_F(ElementDeathTest, UndefinedAndErasedArraysReportErrorCode7) {
  EXPECT_EXIT(ElementText(7, 0), ExitsWith(-7), "Fatal error:\nLine 0: Array erased or undefined");
  MakeArray(7, {"a"});
  EraseArray(7);
  EXPECT_EXIT(ElementText(7, 0), ExitsWith(-7), "Array erased or undefined");
}

TEST_F(ElementDeathTest, IndicesOutsideTheArrayReportErrorCode6) {
  DimArray(5, 9, 0);
  DimArray(6, -1, 0);
  DimArray(2, static_cast<int32_t>(TwoIndex(4, 2) - 1), 0);
  const char* const kMessage = "Line 0: Count too high\nor wrong # of dimensions";
  EXPECT_EXIT(ElementText(5, 10), ExitsWith(-6), kMessage);
  EXPECT_EXIT(ElementText(5, static_cast<uint32_t>(-2)), ExitsWith(-6), kMessage);
  EXPECT_EXIT(ElementText(6, 0), ExitsWith(-6), kMessage);
  EXPECT_EXIT(ElementText(2, TwoIndex(4, 2)), ExitsWith(-6), kMessage);  // linear 12
  EXPECT_EXIT(ElementText(2, TwoIndex(0, 255)), ExitsWith(-6), kMessage);
  // In a shaped array -1 decodes as a two-index value, so there is no pseudo-element.
  EXPECT_EXIT(ElementText(2, kPseudoElement), ExitsWith(-6), kMessage);
}

}  // namespace
}  // namespace corvala
