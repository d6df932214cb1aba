#include "tests/support/runtime_test.h"

#include <cstring>

namespace corvala::testing {

std::string ShownBoxPattern(const std::string& caption, const std::string& text) {
  std::string pattern;
  for (char c : caption + "\n" + text + "\n") {
    if (c != '\0' && std::strchr("^$.*+?()[]{}|\\", c) != nullptr) pattern += '\\';
    pattern += c;
  }
  return pattern;
}

}  // namespace corvala::testing
