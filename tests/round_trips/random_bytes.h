// The seeded generator the round trips share: the same bytes on every build and platform
// (std::mt19937 is specified exactly; the distributions are not, so none is used).
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace corvala::testing {

class RandomBytes {
 public:
  explicit RandomBytes(uint32_t seed) : engine_(seed) {}
  // 0 to n - 1.
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>(engine_() % n); }
  bool OneIn(uint32_t n) { return Below(n) == 0; }
  char From(const std::string& choices) { return choices[Below(choices.size())]; }
  char Any() { return static_cast<char>(Below(256)); }

 private:
  std::mt19937 engine_;
};

}  // namespace corvala::testing
