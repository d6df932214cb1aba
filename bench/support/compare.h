// Benchmarks report each operation beside its anchor, the routine a C++ programmer would use
// instead, measured in the same run. A benchmark file registers its benchmarks as usual and
// pairs them:
//
//   BENCHMARK(BM_IntToDecimal);
//   BENCHMARK(BM_ToChars);
//   CORVALA_COMPARE(BM_IntToDecimal, BM_ToChars);
//
// After the run the shared main prints "IntToDecimal: X ns, ToChars: Y ns, ratio Z" (CPU time
// per iteration, ratio = operation / anchor, the "BM_" prefix dropped; a benchmark marked
// UseRealTime or UseManualTime counts by that time instead, e.g. the CPU time of a child
// process). Runs with
// arguments are paired by their argument suffix: "BM_Op/64" beside "BM_Anchor/64".
#pragma once

#include <benchmark/benchmark.h>

namespace corvala::bench {

// Registers a pairing; returns true so it can initialise a static.
bool Compare(const char* operation, const char* anchor);

}  // namespace corvala::bench

#define CORVALA_COMPARE_CONCAT_(a, b) a##b
#define CORVALA_COMPARE_NAME_(line) CORVALA_COMPARE_CONCAT_(corvala_compare_, line)
#define CORVALA_COMPARE(operation, anchor)                                \
  [[maybe_unused]] static const bool CORVALA_COMPARE_NAME_(__COUNTER__) = \
      ::corvala::bench::Compare(#operation, #anchor)
