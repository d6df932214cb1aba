#include "runtime/strings/fields.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>

namespace corvala::internal {
namespace {

struct FieldCase {
  const char* text;
  uint32_t field;
  const char* expected;  // null: the field does not exist
};

void ExpectFields(FieldSpan (*find)(const char*, uint32_t), const FieldCase* cases, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const FieldCase& c = cases[i];
    SCOPED_TRACE(::testing::Message() << '"' << c.text << "\" field " << c.field);
    FieldSpan span = find(c.text, c.field);
    if (c.expected == nullptr) {
      EXPECT_EQ(span.start, nullptr);
      continue;
    }
    ASSERT_NE(span.start, nullptr);
    // The field lies inside its element.
    EXPECT_GE(span.start, c.text);
    EXPECT_LE(span.start + span.length, c.text + std::char_traits<char>::length(c.text));
    EXPECT_EQ(std::string(span.start, span.length), c.expected);
  }
}

TEST(FindTabFieldTest, WalksTabSeparatedFields) {
  const FieldCase cases[] = {
      {"a\tbb\tccc", 0, "a"},
      {"a\tbb\tccc", 1, "bb"},
      {"a\tbb\tccc", 2, "ccc"},
      {"a\tbb\tccc", 3, nullptr},
      {"\tx", 0, ""},
      {"\tx", 1, "x"},
      {"a\t\tc", 1, ""},
      {"a\t", 1, ""},  // a trailing tab ends in an empty last field
      {"", 0, ""},
      {"", 1, nullptr},
      {"a,", 0, "a"},        // a field loses one trailing comma...
      {"a\"\tb", 0, "a"},    // ...or one trailing quote...
      {"a\",\tb", 0, "a"},   // ...or both, in that order
      {"a,,\tb", 0, "a,"},   // but no more
      {"\",\tb", 0, ""},     // and never more than it has
      {"a,b\tc", 0, "a,b"},  // commas do not separate tab fields
      {"\"q\"\tb", 0, "\"q"},
  };
  ExpectFields(FindTabField, cases, std::size(cases));
}

TEST(FindCommaFieldTest, WalksCommaSeparatedFieldsWithQuotes) {
  const FieldCase cases[] = {
      {"a,\"b,c\",d", 0, "a"},
      {"a,\"b,c\",d", 1, "b,c"},  // quotes removed, the inner comma kept
      {"a,\"b,c\",d", 2, "d"},
      {"a,,c", 1, ""},
      {"a,,c", 2, "c"},
      {",", 0, ""},
      {",", 1, ""},
      {",", 2, nullptr},
      {"a,\"bc\"", 1, "bc"},
      {"\"ab\",c", 0, "ab"},
      {"\"ab\",c", 1, "c"},
      {"a,b\" x,c", 1, "b\" x"},  // a quote inside an unquoted field is an ordinary byte
      {"a,b", 5, nullptr},
      {"a,\"\",c", 1, ""},
      {"a,\"\",c", 2, "c"},
      {"a,\"b", 1, "b"},  // an unclosed quote runs to the end
      {"a,\"b,c", 2, nullptr},
      {"a,\"b\"x,c", 1, "b\"x"},  // bytes after the closing quote stay in the field
      {"a\tb,c", 0, "a\tb"},      // tabs do not separate comma fields
  };
  ExpectFields(FindCommaField, cases, std::size(cases));
}

TEST(FindCommaFieldTest, AQuotedFirstFieldKeepsItsCommas) {
  // The first field is quoted like every other, so its commas do not separate.
  const FieldCase cases[] = {
      {"\"a,b\",c", 0, "a,b"}, {"\"a,b\",c", 1, "c"}, {"\"a,b\",c", 2, nullptr},
      {"\"\"", 0, ""},         {"\"", 0, ""},
  };
  ExpectFields(FindCommaField, cases, std::size(cases));
}

// The walk reads aligned windows of the text: at every offset from a window's start, quoted
// fields that open, close and end beyond a window, separators at a window's last byte, and
// stale quotes and commas after the terminator give the same fields.
TEST(FindCommaFieldTest, SameFieldsAtEveryAlignment) {
  const std::string x(70, 'x');
  const std::string z(60, 'z');
  const std::string text = "a,\"" + x + ",y\",b\"c,\"q\"," + z + ",\"w,v";
  const std::string expected[] = {"a", x + ",y", "b\"c", "q", z, "w,v"};
  alignas(64) char buffer[512];
  for (size_t offset = 0; offset < 128; ++offset) {
    SCOPED_TRACE(::testing::Message() << "offset " << offset);
    for (size_t i = 0; i < sizeof buffer; ++i) buffer[i] = i % 2 ? '"' : ',';
    char* at = buffer + offset;
    text.copy(at, text.size());
    at[text.size()] = '\0';
    for (uint32_t field = 0; field < std::size(expected); ++field) {
      FieldSpan span = FindCommaField(at, field);
      ASSERT_NE(span.start, nullptr) << "field " << field;
      EXPECT_EQ(std::string(span.start, span.length), expected[field]) << "field " << field;
    }
    EXPECT_EQ(FindCommaField(at, std::size(expected)).start, nullptr);
  }
}

}  // namespace
}  // namespace corvala::internal
