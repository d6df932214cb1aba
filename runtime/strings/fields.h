// Finding one field of a tab- or comma-separated element text.
#pragma once

#include <cstdint>

#include "corvala/core.h"
#include "corvala/types.h"

namespace corvala::internal {

// A field's place in its zero-terminated element text; a null start when the text has fewer
// fields than asked for.
struct FieldSpan {
  const char* start;
  int32_t length;
};

// Field `field` (0-based) of a text whose fields are separated by tabs.
FieldSpan FindTabField(const char* text, uint32_t field);
// Field `field` of a text whose fields are separated by commas. A field that begins with a
// double quote runs to the next double quote, commas included; the quotes are not part of
// it.
FieldSpan FindCommaField(const char* text, uint32_t field);

enum class FieldKind { kTab, kComma };
// Copies the field into the field buffer (cut to its capacity) and records it in
// LastFieldAccess. A missing field yields EmptyText and leaves both unchanged.
TextRecord ExtractField(ElementRecord* record, uint32_t field, FieldKind kind);

}  // namespace corvala::internal
