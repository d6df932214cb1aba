// Building small string arrays for the array, element and sort tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "tests/support/runtime_test.h"

namespace corvala::testing {

// Releases every array and tracked block a test made before the state is reset.
class ArrayTest : public RuntimeTest {
 protected:
  void TearDown() override {
    EraseArray(kEraseAllArrays);
    ReleaseTrackedBlock(kReleaseAllTracked);
    RuntimeTest::TearDown();
  }

  // An array whose elements point at the given texts without owning them (negative lengths,
  // as a loaded array has); a null text leaves the element unassigned.
  static ArrayDescriptor* MakeArray(int32_t number, std::initializer_list<const char*> texts) {
    ArrayDescriptor* array = DimArray(number, static_cast<int32_t>(texts.size()) - 1, 0);
    int i = 0;
    for (const char* text : texts) {
      if (text != nullptr) array->elements()[i] = {text, -static_cast<int32_t>(std::strlen(text))};
      ++i;
    }
    return array;
  }

  // A text in a heap block of its own, for an element that owns it.
  static ElementRecord OwnedText(const char* text) {
    const size_t length = std::strlen(text);
    char* block = static_cast<char*>(CountedAlloc(static_cast<uint32_t>(length + 1), 0));
    std::memcpy(block, text, length + 1);
    return {block, static_cast<int32_t>(length)};
  }

  static std::vector<std::string> Texts(int32_t number) {
    auto* array = reinterpret_cast<ArrayDescriptor*>(ArrayTable()[number]);
    std::vector<std::string> texts;
    for (int32_t i = 0; i < array->count; ++i) {
      const ElementRecord& e = array->elements()[i];
      texts.push_back(e.text == nullptr ? "<unassigned>" : e.text);
    }
    return texts;
  }
};

}  // namespace corvala::testing
