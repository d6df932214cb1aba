#include <cstdint>
#include <cstring>

#include "corvala/numbers.h"
#include "runtime/core/state.h"

namespace corvala {
namespace {

uint64_t* Register(int32_t n) {
  if (n < 0 || n >= internal::kSseRegisterCount) return nullptr;
  return internal::g_state.numbers.sseBank[n];
}

}  // namespace

void LoadSseLow(int32_t n, const void* source) {
  if (uint64_t* r = Register(n)) std::memcpy(&r[0], source, 8);
}

void StoreSseLow(int32_t n, void* destination) {
  if (uint64_t* r = Register(n)) std::memcpy(destination, &r[0], 8);
}

void SetSseRegister(int32_t n, SseRegisterValue value) {
  if (uint64_t* r = Register(n)) {
    r[0] = value.low;
    r[1] = value.high;
  }
}

SseRegisterValue SseRegister(int32_t n) {
  const uint64_t* r = Register(n);
  return r != nullptr ? SseRegisterValue{r[0], r[1]} : SseRegisterValue{0, 0};
}

}  // namespace corvala
