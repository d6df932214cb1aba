// SortArray against a plain model of the C library's case-insensitive comparison on a
// thousand seeded random arrays, ascending and descending, whole and in part.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/strings.h"
#include "tests/round_trips/random_bytes.h"
#include "tests/support/runtime_test.h"

namespace corvala {
namespace {

using testing::RandomBytes;

// The C locale's case-insensitive comparison, written out: A to Z read as a to z, bytes
// unsigned, the terminator smallest.
int PlainStricmp(const char* a, const char* b) {
  for (;; ++a, ++b) {
    int x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y || x == 0) return x - y;
  }
}

std::string Folded(const char* text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return folded;
}

// Texts with common prefixes and the bytes around the letters ("@", "[", "`", "{"), so
// that the folding and the order of bytes above 0x7F matter.
std::string RandomText(RandomBytes& random) {
  static const std::string kBytes = "aAbBzZ@[`{_0 \x7F\x80\xE4\xC4\xFF";
  std::string text(random.Below(random.OneIn(8) ? 40 : 6), ' ');
  for (char& c : text) c = random.From(kBytes);
  return text;
}

const char* TextOf(const ElementRecord& record) {
  return record.text != nullptr ? record.text : EmptyText;
}

class SortRoundTrip : public testing::RuntimeTest {};

TEST_F(SortRoundTrip, AThousandRandomArraysSortAsTheModelDoes) {
  RandomBytes random(4141);
  int failures = 0;
  for (int n = 0; n < 1000 && failures < 5; ++n) {
    const uint32_t elements = 1 + random.Below(n % 50 == 0 ? 600 : 40);
    DimArray(3, static_cast<int32_t>(elements) - 1, 0);
    for (uint32_t i = 0; i < elements; ++i) {
      if (random.OneIn(10)) continue;  // never assigned: sorts as the empty text
      const std::string text = RandomText(random);
      ElementText(3, i);
      BuildText(kBuildAssign, {text.c_str(), EmptyText});
    }
    const int32_t count = random.OneIn(3) ? 0 : static_cast<int32_t>(random.Below(elements + 1));
    const bool descending = random.OneIn(2);
    const uint32_t sorted = count == 0 ? elements : static_cast<uint32_t>(count);
    SCOPED_TRACE("array " + std::to_string(n) + ": " + std::to_string(sorted) + " of " +
                 std::to_string(elements) + (descending ? ", descending" : ""));

    auto* descriptor = reinterpret_cast<ArrayDescriptor*>(ArrayTable()[3]);
    const std::vector<ElementRecord> before(descriptor->elements(),
                                            descriptor->elements() + elements);
    std::vector<ElementRecord> model(before.begin(), before.begin() + sorted);
    std::stable_sort(model.begin(), model.end(),
                     [&](const ElementRecord& a, const ElementRecord& b) {
                       int order = PlainStricmp(TextOf(a), TextOf(b));
                       return descending ? order > 0 : order < 0;
                     });

    SortArray(descending ? -3 : 3, count);
    descriptor = reinterpret_cast<ArrayDescriptor*>(ArrayTable()[3]);
    const ElementRecord* after = descriptor->elements();
    bool ok = true;
    // The same texts in the same order, up to the case of texts that are equal but for it.
    for (uint32_t i = 0; ok && i < sorted; ++i) {
      EXPECT_EQ(Folded(TextOf(after[i])), Folded(TextOf(model[i]))) << "element " << i;
      ok = Folded(TextOf(after[i])) == Folded(TextOf(model[i]));
    }
    // Only records moved, each one once, and none beyond the count.
    std::vector<const char*> was, is;
    for (uint32_t i = 0; i < sorted; ++i) {
      was.push_back(before[i].text);
      is.push_back(after[i].text);
      ok = ok &&
           after[i].length == static_cast<int32_t>(after[i].text ? std::strlen(after[i].text) : 0);
    }
    std::sort(was.begin(), was.end());
    std::sort(is.begin(), is.end());
    ok = ok && was == is;
    for (uint32_t i = sorted; i < elements; ++i) ok = ok && after[i].text == before[i].text;
    EXPECT_TRUE(ok) << "the records are not a permutation of the sorted part";
    failures += ok ? 0 : 1;
  }
  EraseArray(3);
}

}  // namespace
}  // namespace corvala
