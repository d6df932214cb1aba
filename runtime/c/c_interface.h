// Helpers of the C interface: each C function converts its arguments, calls the C++ form and
// converts the result, nothing more. The C records have the C++ records' layout, checked
// field by field, so that results are copied and result variables shared as they are.
#pragma once

#include <cstddef>
#include <cstring>
#include <type_traits>

#include "corvala/corvala.h"
#include "corvala/corvala_c.h"

namespace corvala::c_interface {

inline TextArg Text(cv_text text) { return TextArg(reinterpret_cast<Word>(text), 0); }

template <typename C, typename Cpp>
constexpr bool kSameLayout =     // NOLINT(bugprone-dynamic-static-initializers): constexpr
    sizeof(C) == sizeof(Cpp) &&  // NOLINT(misc-redundant-expression): true in every instance
    alignof(C) == alignof(Cpp) &&
    std::conjunction_v<std::is_standard_layout<C>, std::is_standard_layout<Cpp>,
                       std::is_trivially_copyable<C>, std::is_trivially_copyable<Cpp>>;

// A C++ result as its C record.
template <typename C, typename Cpp>
C ToC(const Cpp& value) {
  static_assert(kSameLayout<C, Cpp>);
  C result;
  std::memcpy(&result, &value, sizeof result);
  return result;
}

// A C++ result variable (or record) seen through its C record.
template <typename C, typename Cpp>
C* AsC(Cpp* object) {
  static_assert(kSameLayout<C, Cpp>);
  return reinterpret_cast<C*>(object);
}

}  // namespace corvala::c_interface

#define CV_SAME_FIELD(c_type, cpp_type, field) \
  static_assert(offsetof(c_type, field) == offsetof(cpp_type, field), #field)
