// Compares two files byte by byte and reports the first difference in the usual form:
//
//   compare_files FILE1 FILE2
//
// Identical files print nothing (exit status 0). Files that differ within the shorter one
// print "FILE1 FILE2 differ: byte N, line L" (N and L from 1; exit status 1). When one file
// is the start of the other, standard error gets "compare_files: EOF on NAME after byte N,
// line L" (", in line L" when the shorter file does not end with a line feed), or "EOF on
// NAME which is empty"; exit status 1. A missing file ends the run with the runtime's
// fatal-error message. FILE1 or FILE2 "-" reads standard input.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "corvala/corvala.h"
#include "examples/standard_input.h"

namespace {

constexpr int32_t kFirst = 1;  // file numbers of the second pass, when one is needed
constexpr int32_t kSecond = 2;
constexpr int32_t kInput = 3;  // the file number standard input is read on
constexpr int32_t kChunk = 1 << 16;

char firstChunk[kChunk];
char secondChunk[kChunk];

struct Place {
  uint32_t offset;     // of the first difference, or the length compared
  uint32_t lineFeeds;  // before it
  char last;           // the first file's byte just before it
};

uint32_t LineFeeds(const char* bytes, uint32_t count) {
  uint32_t n = 0;
  for (const char* at = bytes;
       (at = static_cast<const char*>(std::memchr(at, '\n', count - (at - bytes)))) != nullptr;
       ++at) {
    ++n;
  }
  return n;
}

// Reads both files again from their start up to `limit` bytes: where they first differ, and
// the line feeds of the first file before that. With one file only its line feeds are
// counted, up to `limit`.
Place Locate(const char* first, const char* second, uint32_t limit) {
  corvala::OpenInput(kFirst, first, 0);
  if (second != nullptr) corvala::OpenInput(kSecond, second, 0);
  Place place{0, 0, '\0'};
  while (place.offset < limit) {
    const int32_t want =
        static_cast<int32_t>(limit - place.offset < kChunk ? limit - place.offset : kChunk);
    const int32_t got = corvala::ReadFromFile(kFirst, firstChunk, want).count;
    if (got <= 0) break;
    uint32_t same = static_cast<uint32_t>(got);
    if (second != nullptr) {
      const int32_t other = corvala::ReadFromFile(kSecond, secondChunk, got).count;
      same = 0;
      while (same < static_cast<uint32_t>(other) && firstChunk[same] == secondChunk[same]) ++same;
    }
    place.lineFeeds += LineFeeds(firstChunk, same);
    place.offset += same;
    if (same != 0) place.last = firstChunk[same - 1];
    if (same < static_cast<uint32_t>(got)) break;
  }
  corvala::CloseFile(kFirst);
  if (second != nullptr) corvala::CloseFile(kSecond);
  return place;
}

// The shorter file (shown under its given name) ended where the longer goes on.
int EndOfFile(const char* shorter, const char* shown, uint32_t size) {
  if (size == 0) {
    std::fprintf(stderr, "compare_files: EOF on %s which is empty\n", shown);
    return 1;
  }
  const Place place = Locate(shorter, nullptr, size);
  if (place.last == '\n') {
    std::fprintf(stderr, "compare_files: EOF on %s after byte %u, line %u\n", shown, size,
                 place.lineFeeds);
  } else {
    std::fprintf(stderr, "compare_files: EOF on %s after byte %u, in line %u\n", shown, size,
                 place.lineFeeds + 1);
  }
  return 1;
}

// Standard input is read once, and the differences are found in a second pass: it is kept
// in a temporary file, whose name is returned (empty when there is no standard input).
std::string KeepStandardInput() {
  if (!OpenStandardInput(kInput)) return std::string();
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("compare_files-" + std::to_string(std::random_device{}())))
                               .string();
  std::FILE* copy = std::fopen(path.c_str(), "wb");
  if (copy == nullptr) return std::string();
  int32_t got;
  while ((got = corvala::ReadFromFile(kInput, firstChunk, kChunk).count) > 0) {
    std::fwrite(firstChunk, 1, static_cast<size_t>(got), copy);
  }
  std::fclose(copy);
  corvala::CloseFile(kInput);
  return path;
}

}  // namespace

int main() {
  if (corvala::CommandLineArg(1) == nullptr || corvala::CommandLineArg(2) == nullptr) {
    std::fputs("usage: compare_files FILE1 FILE2\n", stderr);
    return 2;
  }
  // Later results reuse the slots the arguments lie in: keep copies of both names.
  corvala::CommandLineArg(1);
  const char* first = corvala::KeepTempSlotCopy();
  corvala::CommandLineArg(2);
  const char* second = corvala::KeepTempSlotCopy();
  // The names shown stay as given; "-" is read from its copy.
  const char* shownFirst = first;
  const char* shownSecond = second;
  std::string input;
  if (IsStandardInput(first) || IsStandardInput(second)) {
    input = KeepStandardInput();
    if (input.empty()) {
      std::fputs("compare_files: no standard input\n", stderr);
      return 2;
    }
    if (IsStandardInput(first)) first = input.c_str();
    if (IsStandardInput(second)) second = input.c_str();
  }

  const corvala::FileDifference found = corvala::FileCompare(first, second, 0);
  const uint32_t size1 = corvala::FileSize(first).low;
  const uint32_t size2 = corvala::FileSize(second).low;
  int status = 0;
  if (size1 == size2) {
    if (found.difference != 0) {
      // The difference is known; only its line is counted, in the first file.
      const Place place = Locate(first, nullptr, found.position);
      std::printf("%s %s differ: byte %u, line %u\n", shownFirst, shownSecond, found.position + 1,
                  place.lineFeeds + 1);
      status = 1;
    }
  } else {
    // Files of different sizes: the comparison gives no place, so find it.
    const uint32_t shorter = size1 < size2 ? size1 : size2;
    const Place place = Locate(first, second, shorter);
    if (place.offset < shorter) {
      std::printf("%s %s differ: byte %u, line %u\n", shownFirst, shownSecond, place.offset + 1,
                  place.lineFeeds + 1);
      status = 1;
    } else {
      status = EndOfFile(size1 < size2 ? first : second, size1 < size2 ? shownFirst : shownSecond,
                         shorter);
    }
  }

  if (!input.empty()) std::remove(input.c_str());
  corvala::ReleaseTrackedBlock(corvala::kReleaseAllTracked);
  return status;
}
