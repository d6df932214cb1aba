/// @file
/// Types shared by every part of the runtime's interface.
#pragma once

#include <cstdint>

namespace corvala {

/// A word that is either an address or a small number (127 for the current result slot, a
/// shared-string id, a file number). It is pointer-sized so that addresses survive on
/// 64-bit builds; on the shipping i686 build it is the documented 32-bit word.
using Word = uintptr_t;

/// The value that names the text of the current temporary result slot.
inline constexpr Word kCurrentSlot = 127;

/// A text argument: a byte text, a UTF-16 text, or a small number (127, a table id, a slot
/// reference). Converts implicitly, so calls read naturally: Foo("abc"), Foo(127), Foo(u"x").
class TextArg {
 public:
  /// A zero-terminated byte text.
  TextArg(const char* text) : word_(reinterpret_cast<Word>(text)) {}
  /// A zero-terminated byte text.
  TextArg(char* text) : word_(reinterpret_cast<Word>(text)) {}
  /// A zero-terminated UTF-16 text (for the operations that take one).
  TextArg(const char16_t* text) : word_(reinterpret_cast<Word>(text)) {}
  /// A zero-terminated byte text.
  TextArg(const uint8_t* text) : word_(reinterpret_cast<Word>(text)) {}
  /// A small number: 127 (kCurrentSlot), a shared-string id, a file number.
  constexpr TextArg(int small) : word_(static_cast<Word>(static_cast<intptr_t>(small))) {}
  /// Any word as it stands (the second argument only selects this form).
  constexpr TextArg(Word word, int) : word_(word) {}

  /// The argument as the runtime takes it: an address or a small number.
  constexpr Word word() const { return word_; }
  /// The argument as a byte text address.
  const char* bytes() const { return reinterpret_cast<const char*>(word_); }
  /// The argument as a UTF-16 text address.
  const char16_t* wide() const { return reinterpret_cast<const char16_t*>(word_); }
  /// True for the small values 0 to 127 that stand for slots or table ids, not addresses.
  constexpr bool IsSmall() const { return word_ <= 127; }

 private:
  Word word_;
};

/// A text as pointer and signed length; the magnitude is the length in bytes.
struct TextRecord {
  const char* text;  ///< the first byte of the text
  int32_t length;    ///< the length in bytes; its sign belongs to the owner (see ElementRecord)
};

}  // namespace corvala
