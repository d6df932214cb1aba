// FileCompare against a plain model on a thousand seeded random pairs, in both modes: equal
// files, a first difference at and beside every 4096-byte block boundary, and files of
// different sizes.
#include <gtest/gtest.h>

#include <string>

#include "corvala/core.h"
#include "corvala/files.h"
#include "tests/round_trips/random_bytes.h"
#include "tests/support/runtime_test.h"
#include "tests/support/temp_dir.h"

namespace corvala {
namespace {

using testing::RandomBytes;
using testing::TempDir;

constexpr uint32_t kBlock = 4096;

// The model reads each file as its bytes followed by its end mark (00 00 00 FF for the first,
// 00 00 00 FE for the second) and takes the first position where the two differ (in mode 1
// with bit 0x20 set on both bytes). Equal sizes with the difference in the marks: identical.
// Different sizes report the first file's size. Returns false when the two files agree over
// the whole of the shorter one and its mark, where what the runtime compares next is not data.
bool Model(const std::string& a, const std::string& b, bool foldCase, FileDifference* result) {
  const std::string first = a + std::string("\0\0\0\xFF", 4);
  const std::string second = b + std::string("\0\0\0\xFE", 4);
  const uint8_t fold = foldCase ? 0x20 : 0;
  size_t i = 0;
  for (; i < first.size() && i < second.size(); ++i) {
    if ((static_cast<uint8_t>(first[i]) | fold) != (static_cast<uint8_t>(second[i]) | fold)) break;
  }
  if (i == first.size() || i == second.size()) return false;
  const int32_t difference = static_cast<uint8_t>(first[i]) - static_cast<uint8_t>(second[i]);
  if (a.size() == b.size()) {
    *result = i >= a.size() ? FileDifference{0, static_cast<uint32_t>(a.size())}
                            : FileDifference{difference, static_cast<uint32_t>(i)};
  } else {
    *result = {difference, static_cast<uint32_t>(a.size())};
  }
  return true;
}

// Bytes that make case folding matter: letters of both cases, CR and "-" (equal in mode 1),
// zeros, and the end marks' own bytes.
char RandomByte(RandomBytes& random) {
  return random.OneIn(4) ? random.Any() : random.From(std::string("aAzZ\r-\0\xFF\xFE\xDF", 10));
}

// Slices of one pool of random bytes, so that the pairs cost little to make (the 32-bit
// builds run under emulation).
std::string RandomData(RandomBytes& random, size_t size) {
  static const std::string pool = [] {
    RandomBytes bytes(141414);
    std::string data(8 * kBlock, ' ');
    for (char& c : data) c = RandomByte(bytes);
    return data;
  }();
  std::string data;
  while (data.size() < size) {
    const size_t from = random.Below(static_cast<uint32_t>(pool.size()));
    data += pool.substr(from, size - data.size());
  }
  return data;
}

// A size near a block boundary (0 to 3 blocks), or anywhere below 4 blocks.
uint32_t RandomSize(RandomBytes& random) {
  if (random.OneIn(3)) return random.Below(4 * kBlock);
  uint32_t size = random.Below(4) * kBlock + random.Below(3);
  return size >= 1 ? size - 1 + random.Below(2) : size;
}

class FileCompareRoundTrip : public testing::RuntimeTest {
 protected:
  TempDir dir_;
};

TEST_F(FileCompareRoundTrip, AThousandRandomPairsInBothModes) {
  RandomBytes random(1414);
  const std::string first = dir_.Path("first.bin");
  const std::string second = dir_.Path("second.bin");
  int failures = 0, compared = 0;
  for (int n = 0; n < 1000 && failures < 5; ++n) {
    std::string a = RandomData(random, RandomSize(random));
    std::string b = a;
    switch (random.Below(4)) {
      case 0:  // equal, or equal but for case
        for (char& c : b) {
          if (random.OneIn(50) && ((c | 0x20) >= 'a' && (c | 0x20) <= 'z')) c ^= 0x20;
        }
        break;
      case 1:  // a difference at a block boundary or beside one
        if (!a.empty()) {
          size_t at = std::min<size_t>(a.size() - 1, random.Below(4) * kBlock + random.Below(3));
          at = at >= 1 ? at - 1 + random.Below(2) : at;
          b[at] = static_cast<char>(b[at] ^ (random.OneIn(2) ? 0x20 : 1 + random.Below(255)));
        }
        break;
      case 2:  // a difference anywhere
        if (!a.empty()) b[random.Below(static_cast<uint32_t>(a.size()))] ^= 0x41;
        break;
      default:  // different sizes: one file a prefix of the other, or not
        if (random.OneIn(2)) {
          b = b.substr(0, random.Below(static_cast<uint32_t>(b.size()) + 1));
        } else {
          b += RandomData(random, 1 + random.Below(kBlock + 2));
        }
        if (random.OneIn(2)) std::swap(a, b);
        break;
    }
    dir_.Write("first.bin", a);
    dir_.Write("second.bin", b);
    for (int32_t mode : {0, 1}) {
      SCOPED_TRACE("pair " + std::to_string(n) + " (" + std::to_string(a.size()) + " and " +
                   std::to_string(b.size()) + " bytes), mode " + std::to_string(mode));
      FileDifference expected;
      const FileDifference got = FileCompare(first.c_str(), second.c_str(), mode);
      if (!Model(a, b, mode == 1, &expected)) {
        EXPECT_NE(got.difference, 0);
        EXPECT_EQ(got.position, a.size());
        continue;
      }
      ++compared;
      EXPECT_EQ(got.difference, expected.difference);
      EXPECT_EQ(got.position, expected.position);
      failures += got.difference != expected.difference || got.position != expected.position;
    }
  }
  EXPECT_GT(compared, 1900);
  EXPECT_EQ(FileTable()[9], 0u);
  EXPECT_EQ(FileTable()[10], 0u);
}

}  // namespace
}  // namespace corvala
