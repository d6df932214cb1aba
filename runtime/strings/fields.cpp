// Field extraction for arrays marked as holding tab- or comma-separated records.
#include "runtime/strings/fields.h"

#include <cstdint>
#include <cstring>

#include "corvala/strings.h"
#include "runtime/core/state.h"

namespace corvala {

FieldAccess& LastFieldAccess = internal::g_state.strings.field.last;

const char* FieldBuffer() { return internal::g_state.strings.field.buffer; }

namespace internal {
namespace {

// A field loses one trailing comma and then one trailing double quote, never more than it has.
FieldSpan Trimmed(const char* start, const char* end) {
  if (end > start && end[-1] == ',') --end;
  if (end > start && end[-1] == '"') --end;
  return {start, static_cast<int32_t>(end - start)};
}

// The start of a comma field at `p`: past an opening quote, with `p` moved past the quoted
// run so that its commas do not separate.
const char* OpenCommaField(const char*& p) {
  if (*p != '"') return p;
  const char* start = ++p;
  while (*p != '\0' && *p != '"') ++p;
  if (*p == '"') ++p;
  return start;
}

}  // namespace

FieldSpan FindTabField(const char* text, uint32_t field) {
  const char* start = text;
  uint32_t passed = 0;
  const char* p = text;
  for (;; ++p) {
    const char c = *p;
    if (c == '\t') {
      if (passed == field) break;
      ++passed;
      start = p + 1;
    } else if (c == '\0') {
      if (passed != field) return {nullptr, 0};
      break;
    }
  }
  return Trimmed(start, p);
}

FieldSpan FindCommaField(const char* text, uint32_t field) {
  const char* p = text;
  const char* start = OpenCommaField(p);
  uint32_t passed = 0;
  for (;;) {
    const char c = *p;
    if (c == ',') {
      if (passed == field) break;
      ++passed;
      ++p;
      start = OpenCommaField(p);
    } else if (c == '\0') {
      if (passed != field) return {nullptr, 0};
      break;
    } else {
      ++p;
    }
  }
  return Trimmed(start, p);
}

TextRecord ExtractField(ElementRecord* record, uint32_t field, FieldKind kind) {
  const FieldSpan span = kind == FieldKind::kTab ? FindTabField(record->text, field)
                                                 : FindCommaField(record->text, field);
  if (span.start == nullptr) return {EmptyText, 0};
  FieldArea& area = g_state.strings.field;
  area.last = {record, record->text, record->length, span.start, span.length};
  // A longer field is cut so that it and its terminator fit the buffer.
  const int32_t length = span.length < kFieldBufferSize - 1 ? span.length : kFieldBufferSize - 1;
  std::memcpy(area.buffer, span.start, static_cast<size_t>(length));
  area.buffer[length] = '\0';
  return {area.buffer, length};
}

}  // namespace internal
}  // namespace corvala
