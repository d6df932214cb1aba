// Field extraction on arbitrary element bytes: the block-wise walks agree with a byte-by-byte
// model of the field rules, the field lies within its element, the copy in the field buffer is
// the field (cut to the buffer) with its terminator, and fields exist in an unbroken run from
// field 0.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "corvala/core.h"
#include "corvala/strings.h"
#include "runtime/strings/fields.h"

namespace {

using corvala::internal::FieldSpan;

void Check(bool ok) {
  if (!ok) std::abort();
}

FieldSpan Trimmed(const char* start, const char* end) {
  if (end > start && end[-1] == ',') --end;
  if (end > start && end[-1] == '"') --end;
  return {start, static_cast<int32_t>(end - start)};
}

// The rules one byte at a time: fields end at a separator or the terminator; with quotes, a
// field that begins with a double quote runs to the next one.
FieldSpan ModelField(const char* text, char separator, bool quotes, uint32_t field) {
  const char* p = text;
  auto open = [&]() {
    if (!quotes || *p != '"') return p;
    const char* start = ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
    return start;
  };
  const char* start = open();
  for (uint32_t passed = 0;;) {
    if (*p == '\0') return passed == field ? Trimmed(start, p) : FieldSpan{nullptr, 0};
    if (*p != separator) {
      ++p;
      continue;
    }
    if (passed == field) return Trimmed(start, p);
    ++passed;
    ++p;
    start = open();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint32_t field = data[0];
  const bool tabs = (data[1] & 1) != 0;
  // The element: the remaining bytes up to the first zero, in a block of exactly that size so
  // that a read past the terminator is caught.
  const char* bytes = reinterpret_cast<const char*>(data + 2);
  const size_t length = strnlen(bytes, size - 2);
  std::vector<char> element(bytes, bytes + length);
  element.push_back('\0');
  const char* text = element.data();

  auto find = tabs ? corvala::internal::FindTabField : corvala::internal::FindCommaField;
  const FieldSpan span = find(text, field);
  const FieldSpan model = ModelField(text, tabs ? '\t' : ',', !tabs, field);
  Check(span.start == model.start && (span.start == nullptr || span.length == model.length));
  if (span.start != nullptr) {
    Check(span.start >= text && span.length >= 0);
    Check(span.start + span.length <= text + length);
    if (tabs) Check(std::memchr(span.start, '\t', static_cast<size_t>(span.length)) == nullptr);
    if (field > 0) Check(find(text, field - 1).start != nullptr);
  } else {
    Check(find(text, field + 1).start == nullptr);
  }
  if (tabs) {
    uint32_t separators = 0;
    for (size_t i = 0; i < length; ++i) separators += text[i] == '\t';
    Check((span.start != nullptr) == (field <= separators));
  }

  // The same field through ElementText on a comma- or tab-marked array.
  corvala::ArrayDescriptor* array = corvala::DimArray(1, 0, 0);
  array->shape = tabs ? corvala::kTabFields : corvala::kCommaFields;
  array->elements()[0] = {text, -static_cast<int32_t>(length)};
  const corvala::TextRecord result = corvala::ElementText(1, corvala::TwoIndex(0, field));
  if (span.start == nullptr) {
    Check(result.text == corvala::EmptyText && result.length == 0);
  } else {
    const int32_t kept =
        span.length < corvala::kFieldBufferSize - 1 ? span.length : corvala::kFieldBufferSize - 1;
    Check(result.text == corvala::FieldBuffer() && result.length == kept);
    Check(std::memcmp(result.text, span.start, static_cast<size_t>(kept)) == 0);
    Check(result.text[kept] == '\0');
    Check(corvala::LastFieldAccess.fieldStart == span.start);
    Check(corvala::LastFieldAccess.fieldLength == span.length);
  }
  corvala::EraseArray(1);
  return 0;
}
