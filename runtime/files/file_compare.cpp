#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "corvala/core.h"
#include "corvala/files.h"
#include "runtime/core/state.h"
#include "runtime/files/file_numbers.h"
#include "runtime/files/read_to_end.h"

namespace corvala {
namespace {

constexpr uint32_t kBlock = internal::kCompareBlock;
constexpr int kFirst = 9;  // file numbers that hold the two files while they are compared
constexpr int kSecond = 10;
// Each block's data is followed by a mark that differs between the files, so the compare
// loop needs no length test: the end of the data always shows up as a difference.
constexpr uint8_t kMarkA[4] = {0x00, 0x00, 0x00, 0xFF};
constexpr uint8_t kMarkB[4] = {0x00, 0x00, 0x00, 0xFE};

// One of the two files: its number and what is left to read of it.
struct Source {
  int number;
  bool toTheEnd;       // no size known (a pipe, a device, a file reporting 0): read until it ends
  bool ended;          // toTheEnd: the end has been met
  uint32_t size;       // the known size, or with toTheEnd the bytes read so far
  uint32_t remaining;  // known size only
};

Source OpenOrDie(int fileNumber, const char* name) {
  Word entry = OpenInput(fileNumber, name, 0);
  if (entry == kOpenFailed) {
    const Word word = reinterpret_cast<Word>(name);
    if (internal::IsSmallName(word)) internal::FatalErrorNumberName(kErrorRecallOpen, word);
    FatalError(kErrorRecallOpen, word);
  }
  Source source{fileNumber, false, false, 0, 0};
  if (internal::KindOf(internal::HandleOf(entry)).extent == internal::FileExtent::kSized) {
    source.size = source.remaining = FileSize(fileNumber).low;
  } else {
    source.toTheEnd = true;
  }
  return source;
}

// Reads the next piece of a file into its block and puts the end mark behind what was read.
void ReadBlock(Source& source, uint8_t* block, const uint8_t* mark) {
  uint32_t read = 0;
  if (source.toTheEnd) {
    // A pipe hands over what it has at each call: fill the block unless the file ends.
    HANDLE handle = internal::HandleOf(FileTable()[source.number]);
    if (!source.ended) read = internal::ReadFully(handle, block, kBlock);
    source.ended = source.ended || read < kBlock;
    source.size += read;
  } else {
    uint32_t wanted = source.remaining < kBlock ? source.remaining : kBlock;
    source.remaining -= wanted;
    int32_t got =
        wanted ? ReadFromFile(source.number, block, static_cast<int32_t>(wanted)).count : 0;
    read = got > 0 ? static_cast<uint32_t>(got) : 0;
  }
  std::memcpy(block + read, mark, 4);
}

// True once both sizes are known: a file read to its end has told its size only when its
// end has been met.
bool SizesKnown(const Source& first, const Source& second) {
  return (!first.toTheEnd || first.ended) && (!second.toTheEnd || second.ended);
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
  Source first = OpenOrDie(kFirst, name1);
  Source second = OpenOrDie(kSecond, name2);

  uint8_t* a = internal::g_state.files.compareBlocks[0];
  uint8_t* b = internal::g_state.files.compareBlocks[1];

  FileDifference result{0, 0};
  for (uint32_t offset = 0;; offset += kBlock) {
    ReadBlock(first, a, kMarkA);
    ReadBlock(second, b, kMarkB);
    uint32_t i = FirstDifference(a, b, mode == 1);
    if (i < kBlock) {
      result = {static_cast<int32_t>(a[i]) - static_cast<int32_t>(b[i]), offset + i};
      break;
    }
  }
  // A file not read to its end has no size to tell: the place of the first difference stands
  // (an endless device would never give one).
  if (SizesKnown(first, second)) {
    if (first.size == second.size) {
      // A difference behind the data lay in the end marks: the files are identical.
      if (result.position > first.size) result = {0, first.size};
    } else {
      result.position = first.size;
    }
  }
  CloseFile(kFirst);
  CloseFile(kSecond);
  return result;
}

}  // namespace corvala
