#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "corvala/files.h"
#include "runtime/core/state.h"
#include "runtime/files/file_numbers.h"

namespace corvala {
namespace {

constexpr uint32_t kBlock = internal::kCompareBlock;
constexpr int kFirst = 9;  // file numbers that hold the two files while they are compared
constexpr int kSecond = 10;
// Each block's data is followed by a mark that differs between the files, so the compare
// loop needs no length test: the end of the data always shows up as a difference.
constexpr uint8_t kMarkA[4] = {0x00, 0x00, 0x00, 0xFF};
constexpr uint8_t kMarkB[4] = {0x00, 0x00, 0x00, 0xFE};

uint32_t OpenOrDie(int fileNumber, const char* name) {
  if (OpenInput(fileNumber, name, 0) == kOpenFailed) {
    const Word word = reinterpret_cast<Word>(name);
    if (internal::IsSmallName(word)) internal::FatalErrorNumberName(kErrorRecallOpen, word);
    FatalError(kErrorRecallOpen, word);
  }
  return FileSize(fileNumber).low;
}

// Reads the next piece of a file into its block and puts the end mark behind what was read.
void ReadBlock(int fileNumber, uint32_t& remaining, uint8_t* block, const uint8_t* mark) {
  uint32_t wanted = remaining < kBlock ? remaining : kBlock;
  remaining -= wanted;
  int32_t got = wanted ? ReadFromFile(fileNumber, block, static_cast<int32_t>(wanted)).count : 0;
  uint32_t read = got > 0 ? static_cast<uint32_t>(got) : 0;
  std::memcpy(block + read, mark, 4);
}

// The index of the first byte in which the two aligned blocks differ (with bit 0x20 set in
// every byte when folding), or kBlock when all are equal.
__attribute__((target("sse2"))) uint32_t FirstDifference(const uint8_t* a, const uint8_t* b,
                                                         bool fold) {
  const __m128i bit = _mm_set1_epi8(fold ? 0x20 : 0);
  for (uint32_t at = 0; at < kBlock; at += 64) {
    uint32_t equal[4];
    for (int k = 0; k < 4; ++k) {
      __m128i x = _mm_or_si128(_mm_load_si128(reinterpret_cast<const __m128i*>(a + at) + k), bit);
      __m128i y = _mm_or_si128(_mm_load_si128(reinterpret_cast<const __m128i*>(b + at) + k), bit);
      equal[k] = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y)));
    }
    uint64_t all =
        equal[0] | (equal[1] << 16) | (uint64_t{equal[2]} << 32) | (uint64_t{equal[3]} << 48);
    if (all != ~uint64_t{0}) return at + static_cast<uint32_t>(__builtin_ctzll(~all));
  }
  return kBlock;
}

}  // namespace

FileDifference FileCompare(const char* name1, const char* name2, int32_t mode) {
  uint32_t size1 = OpenOrDie(kFirst, name1);
  uint32_t size2 = OpenOrDie(kSecond, name2);
  uint32_t remaining1 = size1, remaining2 = size2;

  uint8_t* a = internal::g_state.files.compareBlocks[0];
  uint8_t* b = internal::g_state.files.compareBlocks[1];

  FileDifference result{0, 0};
  for (uint32_t offset = 0;; offset += kBlock) {
    ReadBlock(kFirst, remaining1, a, kMarkA);
    ReadBlock(kSecond, remaining2, b, kMarkB);
    uint32_t i = FirstDifference(a, b, mode == 1);
    if (i < kBlock) {
      result = {static_cast<int32_t>(a[i]) - static_cast<int32_t>(b[i]), offset + i};
      break;
    }
  }
  if (size1 == size2) {
    // A difference behind the data lay in the end marks: the files are identical.
    if (result.position > size1) result = {0, size1};
  } else {
    result.position = size1;
  }
  CloseFile(kFirst);
  CloseFile(kSecond);
  return result;
}

}  // namespace corvala
