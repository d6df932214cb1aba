// A long, varied workload in one process: a seeded random mix of the runtime's operations with
// random sizes. Each result is checked against a plain model where one is simple to state, and
// every result text and number goes into one FNV-1a digest, so that the same seed must give
// the same digest on every target. Addresses, paths and sizes of the word are kept out of it.
//
//   soak [--operations N | --minutes M] [--seed S] [--expect DIGEST]
//
// Ends non-zero when a check failed, the counted heap is not balanced at the end, resident
// memory grew by 1 MB or more after the warm-up, or the digest is not the expected one.
#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "corvala/corvala.h"
#include "platform/process.h"
#include "platform/window.h"
#include "tests/soak/host.h"

namespace corvala::soak {
namespace {

// splitmix64: the same sequence from the same seed on every compiler and word size.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t Below(uint32_t n) { return n == 0 ? 0 : static_cast<uint32_t>(Next() % n); }
  int32_t Between(int32_t low, int32_t high) {
    return low + static_cast<int32_t>(Below(static_cast<uint32_t>(high - low + 1)));
  }
  bool OneIn(uint32_t n) { return Below(n) == 0; }

 private:
  uint64_t state_;
};

class Digest {
 public:
  void Bytes(const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) hash_ = (hash_ ^ bytes[i]) * 0x100000001B3ull;
  }
  void Text(const std::string& text) {
    Number(static_cast<int64_t>(text.size()));
    Bytes(text.data(), text.size());
  }
  // As eight little-endian bytes whatever the word size.
  void Number(int64_t value) {
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(uint64_t(value) >> (8 * i));
    Bytes(bytes, sizeof bytes);
  }
  uint64_t Value() const { return hash_; }

 private:
  uint64_t hash_ = 0xCBF29CE484222325ull;
};

// Bytes of array lines: no carriage return (a line ends at CR LF) and no zero byte; a bare line
// feed stays in its line.
constexpr char kLineBytes[] =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:-_!?'()\t\n\xE9\xC4\xFC";
constexpr char kWordBytes[] = "abcABCxyzXYZ019 .,-";
constexpr char kAsciiBytes[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .-";
constexpr char kBlankBytes[] = " \t\x01\x1F\x80\xA0\xFF";
constexpr int kArrays = 8;  // arrays 1 to 8
constexpr int kFiles = 6;   // the soak's own file names f0 to f5
constexpr uint64_t kMegabyte = 1 << 20;

uint64_t Milliseconds() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The runtime's case-insensitive order: A to Z read as a to z, bytes unsigned.
int FoldedCompare(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return x - y;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

std::string Folded(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return text;
}

bool IsBlank(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 1 && byte <= 32) || byte >= 128;
}

std::string SlotText(const TextRecord& record) {
  return std::string(record.text, static_cast<size_t>(std::abs(record.length)));
}

class Soak {
 public:
  Soak(uint64_t seed, std::string folder) : random_(seed), folder_(std::move(folder)) {}

  void Open() {
    std::filesystem::create_directories(folder_);
    OpenWindow();
  }

  void Step() {
    // Each kind's share of the mix. The file kinds (1, 3, 12, 13) wait on the disk, a few ms
    // each when it is busy: they are rare, so that the time goes to the runtime.
    static const uint32_t kWeights[] = {16, 1, 16, 1, 24, 24, 24, 20, 24, 24, 24, 24, 1, 1, 24, 16};
    uint32_t total = 0;
    for (const uint32_t weight : kWeights) total += weight;
    uint32_t pick = random_.Below(total), kind = 0;
    while (pick >= kWeights[kind]) pick -= kWeights[kind++];
    digest_.Number(kind);
    switch (kind) {
      case 0:
        MakeArray();
        break;
      case 1:
        StoreAndRecall();
        break;
      case 2:
        Sort();
        break;
      case 3:
        Fields();
        break;
      case 4:
        Integers();
        break;
      case 5:
        Floats();
        break;
      case 6:
        Search();
        break;
      case 7:
        Substitute();
        break;
      case 8:
        Slice();
        break;
      case 9:
        Trim();
        break;
      case 10:
        Case();
        break;
      case 11:
        Build();
        break;
      case 12:
        FileQueries();
        break;
      case 13:
        CompareFiles();
        break;
      case 14:
        CompareTextsAndNumbers();
        break;
      default:
        EraseOrInsert();
        break;
    }
    int tracked = 0;
    for (int i = 0; i < kCvHeapStrings; ++i) tracked += TrackedBlockTable()[i] != 0;
    Check(tracked < kCvHeapStrings - 8, "the tracked-block table stays below full");
    ++operations_;
  }

  // Releases everything and checks the counted heap.
  void Close() {
    EraseArray(kEraseAllArrays);
    ReleaseTrackedBlock(kReleaseAllTracked);
    CloseFile(kCloseAllFiles);
    Check(AllocationCount == ReleaseCount, "the counted heap is balanced at the end");
    if (window_ != nullptr) platform::DestroyWindow(window_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  uint64_t operations() const { return operations_; }
  uint64_t digest() const { return digest_.Value(); }
  int failures() const { return failures_; }

 private:
  void Check(bool ok, const char* what) {
    if (ok) return;
    if (++failures_ <= 20)
      std::fprintf(stderr, "FAILED at operation %" PRIu64 ": %s\n", operations_, what);
  }

  std::string RandomText(const char* alphabet, uint32_t shortest, uint32_t longest) {
    const uint32_t size = static_cast<uint32_t>(std::strlen(alphabet));
    const uint32_t top = random_.OneIn(16) ? longest : std::min(longest, shortest + 24);
    std::string text(random_.Between(static_cast<int32_t>(shortest), static_cast<int32_t>(top)),
                     ' ');
    for (char& c : text) c = alphabet[random_.Below(size)];
    return text;
  }
  std::string Line() { return RandomText(kLineBytes, 0, 300); }
  // A piece of text to look for: a part of text or a few random bytes.
  std::string PartOf(const std::string& text) {
    if (text.empty() || random_.OneIn(3)) return RandomText(kWordBytes, 1, 4);
    const uint32_t start = random_.Below(static_cast<uint32_t>(text.size()));
    return text.substr(start, 1 + random_.Below(8));
  }
  int AnyArray() { return 1 + static_cast<int>(random_.Below(kArrays)); }
  int DefinedArray() {
    const int first = AnyArray();
    for (int i = 0; i < kArrays; ++i) {
      const int a = 1 + (first - 1 + i) % kArrays;
      if (defined_[a]) return a;
    }
    return 0;
  }
  // Emptying a written file to write it again makes ext4 put the old bytes on the disk first
  // (about 10 ms): most writes go to a removed file, a rare one rewrites the old in place.
  void MakeRoomFor(const std::string& name) {
    if (random_.OneIn(1024)) return;
    std::error_code ignored;
    std::filesystem::remove(name, ignored);
  }
  std::string FileName(uint32_t n) { return folder_ + "/f" + std::to_string(n) + ".txt"; }

  std::vector<std::string> ReadArray(int a) {
    std::vector<std::string> texts(model_[a].size());
    for (size_t i = 0; i < texts.size(); ++i)
      texts[i] = SlotText(ElementText(a, static_cast<uint32_t>(i)));
    return texts;
  }

  void Assign(int a, uint32_t i, const std::string& text) {
    ElementText(a, i);
    BuildText(kBuildAssign, {text.c_str()});
  }

  void MakeArray() {
    const int a = AnyArray();
    const uint32_t n = 1 + random_.Below(random_.OneIn(20) ? 1000 : 60);
    DimArray(a, static_cast<int32_t>(n) - 1, 0);
    model_[a].assign(n, std::string());
    defined_[a] = true;
    for (uint32_t i = 0; i < n; ++i) {
      if (random_.OneIn(8)) continue;  // never assigned: reads as empty
      model_[a][i] = Line();
      Assign(a, i, model_[a][i]);
    }
    Check(ReadArray(a) == model_[a], "a made array reads back");
    digest_.Number(n);
  }

  // Stores array a to one of the soak's files; returns the lines the file holds.
  std::vector<std::string> StoreArray(int a, const std::string& name) {
    std::vector<std::string> lines = model_[a];
    int32_t count = static_cast<int32_t>(lines.size());
    if (random_.OneIn(4)) {
      count = -1;
      while (!lines.empty() && lines.back().empty()) lines.pop_back();
    }
    MakeRoomFor(name);
    const int32_t written = Store(name.c_str(), a, count);
    Check(written == static_cast<int32_t>(lines.size()), "Store writes every line");
    std::string expected;
    for (const std::string& line : lines) expected += line + "\r\n";
    files_[name] = expected;
    Check(ReadWholeFile(name) == expected, "a stored file reads back byte for byte");
    digest_.Number(written);
    return lines;
  }

  void StoreAndRecall() {
    const int a = DefinedArray();
    if (a == 0) return MakeArray();
    const std::string name = FileName(random_.Below(kFiles));
    std::vector<std::string> lines = StoreArray(a, name);
    if (lines.empty()) lines.push_back("");  // an empty file is one empty line
    const int b = AnyArray();
    const int32_t noMarker = 0;
    const RecallResult loaded = Recall(name.c_str(), b, 0, noMarker);
    Check(loaded.lines == static_cast<int32_t>(lines.size()), "Recall counts the lines");
    Check(loaded.bytes == static_cast<int32_t>(files_[name].size()), "Recall counts the bytes");
    model_[b] = lines;
    defined_[b] = true;
    Check(ReadArray(b) == lines, "a recalled array holds the stored lines");
    digest_.Number(loaded.lines);
    digest_.Number(loaded.bytes);
    digest_.Number(BareLineFeedCount);
  }

  void Sort() {
    const int a = DefinedArray();
    if (a == 0) return MakeArray();
    const bool descending = random_.OneIn(2);
    SortArray(descending ? -a : a, 0);
    std::vector<std::string> sorted = ReadArray(a);
    bool ordered = true;
    for (size_t i = 1; i < sorted.size(); ++i) {
      const int order = FoldedCompare(sorted[i - 1], sorted[i]);
      ordered = ordered && (descending ? order >= 0 : order <= 0);
    }
    Check(ordered, "a sorted array is in order");
    std::vector<std::string> before = model_[a], after = sorted;
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    Check(before == after, "sorting keeps every text");
    model_[a] = sorted;
    // Texts equal but for case end in no particular order: the digest takes them folded.
    for (const std::string& text : sorted) digest_.Text(Folded(text));
  }

  void Fields() {
    const bool tabs = random_.OneIn(2);
    const int a = AnyArray();
    const uint32_t rows = 1 + random_.Below(40), columns = 1 + random_.Below(6);
    std::vector<std::vector<std::string>> fields(rows);
    DimArray(a, static_cast<int32_t>(rows) - 1, 0);
    model_[a].assign(rows, std::string());
    for (uint32_t r = 0; r < rows; ++r) {
      std::string line;
      for (uint32_t c = 0; c < columns; ++c) {
        std::string field = RandomText(kAsciiBytes, 0, 40);
        const bool quoted = !tabs && random_.OneIn(4);
        if (quoted) field += ",x";
        if (c > 0) line += tabs ? '\t' : ',';
        line += quoted ? '"' + field + '"' : field;
        fields[r].push_back(field);
      }
      model_[a][r] = line;
      Assign(a, r, line);
    }
    defined_[a] = true;
    const std::string name = FileName(random_.Below(kFiles));
    // Empty lines at the end may be left out of the file.
    const auto stored = static_cast<uint32_t>(StoreArray(a, name).size());
    const int32_t marker = tabs ? kTabFields : kCommaFields;
    Recall(name.c_str(), a, 0, marker);
    for (int k = 0; k < 8 && stored > 0; ++k) {
      const uint32_t r = random_.Below(stored), c = random_.Below(columns + 1);
      const std::string field = SlotText(ElementText(a, TwoIndex(r, c)));
      const std::string expected = c < columns ? fields[r][c] : std::string();
      Check(field == expected, "a field reads as it was written");
      digest_.Text(field);
    }
    // A fielded array reads its fields by two-index values: make it a plain one again.
    DimArray(a, 0, 0);
    model_[a].assign(1, std::string());
  }

  void Integers() {
    const int32_t value =
        random_.OneIn(2) ? random_.Between(-1000, 1000) : static_cast<int32_t>(random_.Next());
    const std::string text = NumberText(kIntegerForm, value);
    char decimal[12];
    IntToDecimal(value, decimal);
    Check(text == decimal, "the integer form is the decimal text");
    const NumberReading reading = TextToNumber(text.c_str());
    Check(reading.value == value, "an integer text reads back as its value");
    Check(reading.count == static_cast<int32_t>(text.size()), "the whole integer text is read");
    digest_.Text(text);
    digest_.Number(reading.count);
    const std::string unsignedText = NumberText(kUnsignedForm, value);
    digest_.Text(unsignedText);
  }

  void Floats() {
    // Exact values from integers, so that every target starts from the same bits.
    const auto mantissa = static_cast<int64_t>(random_.Next() >> (11 + random_.Below(40)));
    const double value = std::ldexp(static_cast<double>(random_.OneIn(4) ? -mantissa : mantissa),
                                    random_.Between(-80, 40));
    static const char* const kFormats[] = {"%f", "%Jf", "%3f", "Total: %9f units", "%1f"};
    const char* format = kFormats[random_.Below(std::size(kFormats))];
    const std::string text =
        random_.OneIn(4) ? NumberText(kFloatingForm, value) : NumberText(format, value, Times(2.5));
    digest_.Text(text);
    const size_t start = text.find_first_of("-0123456789");
    double back = 0;
    const NumberReading reading =
        TextToNumber(text.c_str() + (start == std::string::npos ? 0 : start),
                     reinterpret_cast<Word>(&back), kNumberDouble);
    digest_.Number(reading.count);
    int64_t bits;
    std::memcpy(&bits, &back, sizeof bits);
    digest_.Number(bits);
    const char16_t* wide = NumberTextW(kFloatingForm, value);
    std::string narrow;
    for (; *wide; ++wide) narrow += static_cast<char>(*wide);
    digest_.Text(narrow);
  }

  void Search() {
    const std::string text = RandomText(kWordBytes, 0, 600);
    const std::string pattern = PartOf(text);
    static const uint32_t kFlags[] = {
        0, 0, FindIgnoreCase, FindFirstIgnoreCase, FindWholeWord, FindReverse};
    const uint32_t flags = kFlags[random_.Below(std::size(kFlags))];
    const FoundText found = FindText(-1, text.c_str(), pattern.c_str(), flags);
    if (flags == 0) {
      const size_t at = text.find(pattern);
      Check(found.position == (at == std::string::npos ? 0 : static_cast<int32_t>(at) + 1),
            "FindText finds the first occurrence");
    }
    Check(found.position == 0 || found.address == text.c_str() + found.position - 1,
          "the found address is at the found position");
    digest_.Number(found.position);
  }

  void Substitute() {
    const std::string text = RandomText(kWordBytes, 0, 400);
    const std::string sought = PartOf(text), replacement = RandomText(kWordBytes, 0, 6);
    static const uint32_t kFlags[] = {0, 0, FindIgnoreCase, FindWholeWord};
    const uint32_t flags = kFlags[random_.Below(std::size(kFlags))];
    const uint32_t limit = random_.OneIn(3) ? 1 + random_.Below(3) : 0;
    ElementRecord result{};
    TargetVariable(result);
    const int32_t length = SubstituteText(text.c_str(), sought.c_str(), replacement.c_str(),
                                          flags | (limit << kSubstituteLimitShift));
    BuildText(kBuildAssign, {127});
    const std::string finished(result.text, static_cast<size_t>(std::abs(result.length)));
    Check(finished.size() == static_cast<size_t>(length), "the substitution has its length");
    if (flags == 0) {
      std::string expected = text;
      uint32_t done = 0;
      for (size_t at = expected.find(sought); at != std::string::npos && (!limit || done < limit);
           at = expected.find(sought, at + replacement.size()), ++done)
        expected.replace(at, sought.size(), replacement);
      Check(finished == expected, "the substitution replaces each occurrence");
    }
    if (result.length > 0) CountedFree(const_cast<char*>(result.text));
    digest_.Text(finished);
  }

  void Slice() {
    const std::string text = Line();
    const auto length = static_cast<int32_t>(text.size());
    const int32_t count = random_.Between(-2, length + 2), start = random_.Between(-2, length + 2);
    const char* view = SliceText(text.c_str(), count, start);
    const std::string sliced = SlotText(*SelectTempSlot(kSlotCurrent));
    int32_t offset = 0, size = 0;
    if (count == 0 || start == 0 || start > length) {
    } else if (start < 0) {
      size = count < 0 || count > length ? length : count;
      offset = length - size;
    } else {
      offset = start - 1;
      size = count < 0 || count > length - offset ? length - offset : count;
    }
    Check(view == text.c_str() + offset && sliced == text.substr(offset, size),
          "a slice is the part its count and start name");
    digest_.Number(view - text.c_str());
    digest_.Text(sliced);
  }

  void Trim() {
    std::string text = RandomText(kBlankBytes, 0, 6) + Line() + RandomText(kBlankBytes, 0, 6);
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    const uint32_t flags = random_.Between(0, 3);
    const std::string trimmed = TrimText(text.c_str(), flags);
    size_t first = 0, last = text.size();
    if (flags & TrimLeading)
      while (first < last && IsBlank(text[first])) ++first;
    if (flags & TrimTrailing)
      while (last > first && IsBlank(text[last - 1])) --last;
    Check(trimmed == text.substr(first, last - first), "a trimmed text loses its blanks");
    digest_.Text(trimmed);
  }

  void Case() {
    const std::string text = RandomText(kAsciiBytes, 0, 200);
    const bool upper = random_.OneIn(2);
    const char* converted = ConvertCase(text.c_str(), upper);
    std::string expected = text;
    for (char& c : expected) {
      if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
      if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    Check(converted == expected, "a converted text has the other case");
    digest_.Text(converted);
    if (random_.OneIn(2)) {
      ReleaseTrackedBlock(reinterpret_cast<Word>(converted));
    } else if (++keptCaseBlocks_ >= 60) {
      ReleaseTrackedBlock(kReleaseAllTracked);
      keptCaseBlocks_ = 0;
    }
  }

  // Builds a random joined text to a random target and checks what arrived.
  void Build() {
    enum Target { kBuffer, kVariable, kElement, kTracked, kConsole, kWindow, kFile };
    // A file waits on the disk: one build in 32 goes there.
    const auto target = random_.OneIn(32) ? kFile : static_cast<Target>(random_.Below(6));
    const uint32_t pieceCount = 1 + random_.Below(6);
    std::vector<std::string> literals(pieceCount);
    std::vector<bool> fromSlot(pieceCount);
    std::string expected;
    for (uint32_t i = 0; i < pieceCount; ++i) {
      literals[i] = RandomText(kLineBytes, 0, 80);
      fromSlot[i] = random_.OneIn(3);
      expected += literals[i];
    }
    char buffer[600] = {};  // the buffer target writes no terminator
    ElementRecord variable{};
    const int a = DefinedArray();
    uint32_t element = 0;
    std::string fileName;
    // The destination slot comes before the results the pieces take.
    if (target == kBuffer) TargetBuffer(buffer, sizeof buffer);
    if (target == kVariable) TargetVariable(variable);
    if (target == kElement && a != 0) {
      element = random_.Below(static_cast<uint32_t>(model_[a].size()));
      ElementText(a, element);
    }
    if (target == kFile) {
      fileName = FileName(random_.Below(kFiles));
      MakeRoomFor(fileName);
      OpenOutput(3, fileName.c_str(), 'O');
    }
    std::vector<TextArg> pieces;
    for (uint32_t i = 0; i < pieceCount; ++i) {
      if (fromSlot[i]) TrimText(literals[i].c_str(), 0);
      pieces.push_back(fromSlot[i] ? TextArg(127) : TextArg(literals[i].c_str()));
    }
    std::vector<Word> words;
    for (const TextArg& piece : pieces) words.push_back(piece.word());
    uint32_t control = pieceCount;
    switch (target) {
      case kBuffer:
        control |= kTargetBuffer;
        break;
      case kVariable:
        control |= kBuildAssign;
        break;
      case kElement:
        control |= kBuildAssign;
        break;
      case kTracked:
        control |= kBuildAssign | kBuildTracked;
        words.push_back(0);
        break;
      case kFile:
        control |= BuildToFile(3);
        break;
      case kWindow:
        control |= kTargetWindow;
        break;
      case kConsole:
        break;
    }
    if (target == kElement && a == 0) return;  // no array to assign to: nothing was made
    if (target == kWindow && window_ == nullptr) control = pieceCount;  // to the console instead
    if (target == kWindow) OutputWindow = reinterpret_cast<Word>(window_);
    const Word built = BuildText(control, words.data());
    std::string arrived = expected;
    switch (target) {
      case kBuffer:
        arrived = buffer;
        break;
      case kVariable:
        arrived.assign(variable.text, static_cast<size_t>(std::abs(variable.length)));
        if (variable.length > 0) CountedFree(const_cast<char*>(variable.text));
        break;
      case kElement:
        model_[a][element] = expected;
        arrived = SlotText(ElementText(a, element));
        break;
      case kTracked:
        arrived = reinterpret_cast<const char*>(built);
        ReleaseTrackedBlock(built);
        break;
      case kFile:
        CloseFile(3);
        files_[fileName] = expected;
        arrived = ReadWholeFile(fileName);
        break;
      case kWindow:
        if (window_ != nullptr) {
          std::vector<char> text(expected.size() + 2);
          platform::GetWindowTextA(window_, text.data(), static_cast<int>(text.size()));
          arrived = text.data();
        }
        break;
      case kConsole:
        break;
    }
    // A text with a zero byte is cut there by every target that reads it as a C text.
    Check(arrived == expected, "a built text arrives whole at its target");
    digest_.Text(expected);
  }

  std::string AnyStoredFile() {
    if (files_.empty()) return std::string();
    auto it = files_.begin();
    std::advance(it, random_.Below(static_cast<uint32_t>(files_.size())));
    return it->first;
  }

  void FileQueries() {
    const std::string name = AnyStoredFile();
    if (name.empty()) return StoreAndRecall();
    const std::string& contents = files_[name];
    const FileSizeHalves size = FileSize(name.c_str());
    Check(size.low == contents.size() && size.high == 0, "FileSize is the stored size");
    Check(FindFile(name.c_str(), 1) != 0 && FindData.nFileSizeLow == contents.size(),
          "FindFile finds the stored file with its size");
    // Part of it through a file number.
    const int32_t want = random_.Between(0, static_cast<int32_t>(contents.size()) + 4);
    std::vector<char> buffer(static_cast<size_t>(want) + 1);
    OpenInput(4, name.c_str(), 0);
    const FileBytes read = ReadFromFile(4, buffer.data(), want);
    CloseFile(4);
    const std::string head = contents.substr(0, static_cast<size_t>(want));
    Check(read.count == static_cast<int32_t>(head.size()) &&
              std::string(buffer.data(), static_cast<size_t>(read.count)) == head,
          "ReadFromFile reads the stored bytes");
    // The whole of it as a deferred text (its zero bytes, if any, kept by the length).
    ElementRecord whole{};
    TargetVariable(whole);
    FileRead$(name.c_str());
    BuildText(kBuildAssign, {127});
    Check(std::string(whole.text, static_cast<size_t>(std::abs(whole.length))) == contents,
          "FileRead$ gives the stored bytes");
    if (whole.length > 0) CountedFree(const_cast<char*>(whole.text));
    digest_.Number(size.low);
    digest_.Number(read.count);
  }

  void CompareFiles() {
    const std::string first = AnyStoredFile(), second = AnyStoredFile();
    if (first.empty()) return StoreAndRecall();
    const int32_t mode = random_.OneIn(3) ? 1 : 0;
    const FileDifference difference = FileCompare(first.c_str(), second.c_str(), mode);
    if (mode == 0) {
      const std::string &a = files_[first], &b = files_[second];
      size_t at = 0;
      while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
      const int byteDifference =
          at < a.size() && at < b.size()
              ? static_cast<unsigned char>(a[at]) - static_cast<unsigned char>(b[at])
              : 0;
      if (a.size() == b.size() && at == a.size()) {
        Check(difference.difference == 0 && difference.position == a.size(),
              "identical files compare equal");
      } else if (a.size() == b.size()) {
        Check(difference.position == at && difference.difference == byteDifference,
              "FileCompare finds the first difference");
      } else {
        // Files of different sizes: the first file's size, and a difference that is never 0.
        Check(difference.difference != 0 && difference.position == a.size() &&
                  (byteDifference == 0 || difference.difference == byteDifference),
              "files of different sizes differ");
      }
    }
    digest_.Number(difference.difference);
    digest_.Number(difference.position);
  }

  void CompareTextsAndNumbers() {
    const std::string a = RandomText(kWordBytes, 0, 100);
    std::string b = random_.OneIn(2) ? a : RandomText(kWordBytes, 0, 100);
    if (!b.empty() && random_.OneIn(2)) b[random_.Below(static_cast<uint32_t>(b.size()))] ^= 0x20;
    const int32_t mode = random_.OneIn(2) ? 1 : 0;
    const TextComparison compared = CompareTexts(a.c_str(), b.c_str(), mode);
    if (mode == 0) {
      size_t at = 0;
      while (at < a.size() && a[at] == b[at]) ++at;
      Check(compared.offset == at && compared.difference == static_cast<unsigned char>(a[at]) -
                                                                static_cast<unsigned char>(b[at]),
            "CompareTexts stops at the first difference");
    }
    digest_.Number(compared.difference);
    digest_.Number(compared.offset);
    const int64_t x = static_cast<int64_t>(random_.Next() >> 12);
    const int64_t y = random_.OneIn(2) ? x + random_.Between(-300, 300) : x;
    const Comparison tolerant = CompareWithTolerance(random_.Below(9), static_cast<long double>(x),
                                                     static_cast<long double>(y));
    digest_.Number(static_cast<int32_t>(tolerant));
  }

  void EraseOrInsert() {
    const int a = DefinedArray();
    if (a == 0) return MakeArray();
    std::vector<std::string>& texts = model_[a];
    if (random_.OneIn(4)) {
      EraseArray(a);
      texts.clear();
      defined_[a] = false;
      return;
    }
    const auto k = static_cast<int32_t>(random_.Below(static_cast<uint32_t>(texts.size())));
    const int32_t after = static_cast<int32_t>(texts.size()) - k;
    const int32_t n = random_.Between(-std::min(3, after), 3);
    if (static_cast<int32_t>(texts.size()) + n <= 0) return;
    ElementText(a, static_cast<uint32_t>(k));
    InsertElements(n);
    if (n > 0) texts.insert(texts.begin() + k, static_cast<size_t>(n), std::string());
    if (n == 0) texts[static_cast<size_t>(k)].clear();
    if (n < 0) texts.erase(texts.begin() + k, texts.begin() + k - n);
    Check(ReadArray(a) == texts, "inserting and removing elements keeps the others");
    digest_.Number(static_cast<int32_t>(texts.size()));
  }

  static LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    return platform::DefWindowProcA(window, message, w, l);
  }
  void OpenWindow() {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = platform::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Soak";
    platform::RegisterClassExA(&windowClass);
    window_ = platform::CreateWindowExA(0, "Soak", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        windowClass.hInstance, nullptr);
  }

  Random random_;
  Digest digest_;
  std::string folder_;
  HWND window_ = nullptr;
  uint64_t operations_ = 0;
  int failures_ = 0;
  int keptCaseBlocks_ = 0;
  std::vector<std::string> model_[kArrays + 1];
  bool defined_[kArrays + 1] = {};
  std::map<std::string, std::string> files_;
};

struct Options {
  uint64_t operations = 10000;
  double minutes = 0;
  uint64_t seed = 1;
  const char* expect = nullptr;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const char* value = argv[i + 1];
    if (name == "--operations") {
      options.operations = std::strtoull(value, nullptr, 10);
    } else if (name == "--minutes") {
      options.minutes = std::strtod(value, nullptr);
    } else if (name == "--seed") {
      options.seed = std::strtoull(value, nullptr, 10);
    } else if (name == "--expect") {
      options.expect = value;
    } else {
      return false;
    }
  }
  return argc % 2 == 1;
}

int Run(const Options& options) {
  SilenceConsole();
  Soak soak(options.seed, "soak-files-" + std::to_string(options.seed));
  soak.Open();
  // The warm-up reaches the workload's usual peak; growth after it would be a leak.
  const uint64_t warmUp = options.minutes > 0 ? 200000 : options.operations / 4;
  const uint64_t started = Milliseconds();
  const uint64_t deadline = started + static_cast<uint64_t>(options.minutes * 60000);
  uint64_t warmPeak = 0, laterPeak = 0;
  for (;;) {
    const uint64_t done = soak.operations();
    if (options.minutes > 0 ? (done % 1000 == 0 && Milliseconds() >= deadline)
                            : done >= options.operations)
      break;
    soak.Step();
    if ((done + 1) % 256 == 0) {
      uint64_t& peak = done < warmUp ? warmPeak : laterPeak;
      peak = std::max(peak, ResidentBytes());
    }
    if ((done + 1) % 1000000 == 0)
      std::fprintf(stderr, "after %" PRIu64 " operations: digest %016" PRIx64 "\n", done + 1,
                   soak.digest());
  }
  const uint64_t elapsed = std::max<uint64_t>(Milliseconds() - started, 1);
  soak.Close();
  const int64_t growth = laterPeak == 0 ? 0 : static_cast<int64_t>(laterPeak - warmPeak);
  std::fprintf(stderr,
               "seed %" PRIu64 ": %" PRIu64
               " operations in %.1f s (%.0f per second)\n"
               "resident memory: %.1f MB after the warm-up, grown by %+.3f MB since\n"
               "digest %016" PRIx64 "\n",
               options.seed, soak.operations(), elapsed / 1000.0,
               soak.operations() * 1000.0 / elapsed, warmPeak / double(kMegabyte),
               growth / double(kMegabyte), soak.digest());
  int status = soak.failures() == 0 ? 0 : 1;
#ifndef __SANITIZE_ADDRESS__
  // (Under AddressSanitizer freed blocks wait in its quarantine: the figure is shown only.)
  if (growth >= static_cast<int64_t>(kMegabyte)) {
    std::fprintf(stderr, "FAILED: resident memory grew by 1 MB or more after the warm-up\n");
    status = 1;
  }
#endif
  if (options.expect != nullptr) {
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016" PRIx64, soak.digest());
    if (std::strcmp(digest, options.expect) != 0) {
      std::fprintf(stderr, "FAILED: digest %s, expected %s\n", digest, options.expect);
      status = 1;
    }
  }
  return status;
}

}  // namespace
}  // namespace corvala::soak

int main(int argc, char** argv) {
  corvala::soak::Options options;
  if (!corvala::soak::ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: soak [--operations N | --minutes M] [--seed S] [--expect DIGEST]\n");
    return 2;
  }
  return corvala::soak::Run(options);
}
