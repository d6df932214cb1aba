// Recall then Store over a thousand seeded random files: every line as the plain model splits
// it (at CR LF only), and the stored file equal to the input, with the CR LF that Store adds
// after a last line that had none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/strings.h"
#include "tests/round_trips/random_bytes.h"
#include "tests/support/runtime_test.h"
#include "tests/support/temp_dir.h"

namespace corvala {
namespace {

using testing::RandomBytes;
using testing::TempDir;

// Lines as the file rules give them: split at every CR LF; data that does not end with CR LF
// (empty data too) has one more line after the last break.
std::vector<std::string> ModelLines(const std::string& data) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t at; (at = data.find("\r\n", from)) != std::string::npos; from = at + 2) {
    lines.push_back(data.substr(from, at - from));
  }
  if (lines.empty() || from != data.size()) lines.push_back(data.substr(from));
  return lines;
}

int32_t ModelBareLineFeeds(const std::string& data) {
  int32_t count = 0;
  for (size_t i = 0; i < data.size(); ++i)
    count += data[i] == '\n' && (i == 0 || data[i - 1] != '\r');
  return count;
}

bool EndsWithBreak(const std::string& data) {
  return data.size() >= 2 && data.compare(data.size() - 2, 2, "\r\n") == 0;
}

// A line of the random files: mostly text, with zero bytes, bytes 0x80 to 0xFF, and lone CRs
// and LFs, which stay in their line.
std::string RandomLine(RandomBytes& random, size_t longest) {
  std::string line(random.Below(static_cast<uint32_t>(longest) + 1), ' ');
  for (char& c : line) {
    switch (random.Below(8)) {
      case 0:
        c = random.From(std::string("\0\r\n\t", 4));
        break;
      case 1:
        c = static_cast<char>(0x80 + random.Below(0x80));
        break;
      default:
        c = static_cast<char>(' ' + random.Below(95));
    }
  }
  return line;
}

std::string RandomFile(RandomBytes& random, size_t lines, size_t longest) {
  std::string data;
  for (size_t i = 0; i < lines; ++i) {
    if (!random.OneIn(5)) data += RandomLine(random, longest);
    data += "\r\n";
  }
  // The end: a last line without its break, a lone CR or LF, or just the last CR LF.
  switch (random.Below(4)) {
    case 0:
      data += RandomLine(random, longest);
      break;
    case 1:
      data += random.OneIn(2) ? "\r" : "\n";
      break;
    default:
      break;
  }
  return data;
}

class RecallStoreRoundTrip : public testing::RuntimeTest {
 protected:
  TempDir dir_;
};

TEST_F(RecallStoreRoundTrip, AThousandRandomFilesComeBack) {
  RandomBytes random(14);
  const std::string input = dir_.Path("input.txt");
  const std::string output = dir_.Path("output.txt");
  int failures = 0;
  for (int n = 0; n < 1000 && failures < 5; ++n) {
    std::string data;
    if (n == 0) {
      // Above the staging threshold of 639,998 bytes, in many lines.
      data = RandomFile(random, 9000, 140);
      while (data.size() <= 639998) data += RandomLine(random, 140) + "\r\n";
    } else if (n == 1) {
      data = std::string(650000, 'L') + "\r\nshort\r\n";  // one line above the threshold
    } else if (n == 2) {
      data = "";
    } else {
      data = RandomFile(random, random.Below(12), random.OneIn(10) ? 300 : 30);
    }
    SCOPED_TRACE("file " + std::to_string(n) + " of " + std::to_string(data.size()) + " bytes");
    dir_.Write("input.txt", data);

    const std::vector<std::string> lines = ModelLines(data);
    RecallResult recalled = Recall(input.c_str(), 3, 0, 0);
    bool ok = recalled.bytes == static_cast<int32_t>(data.size()) &&
              recalled.lines == static_cast<int32_t>(lines.size()) &&
              BareLineFeedCount == ModelBareLineFeeds(data);
    EXPECT_EQ(recalled.lines, static_cast<int32_t>(lines.size()));
    EXPECT_EQ(recalled.bytes, static_cast<int32_t>(data.size()));
    EXPECT_EQ(BareLineFeedCount, ModelBareLineFeeds(data));
    for (size_t k = 0; ok && k < lines.size(); ++k) {
      TextRecord element = ElementText(3, static_cast<uint32_t>(k));
      std::string text(element.text, static_cast<size_t>(-element.length));
      EXPECT_EQ(text, lines[k]) << "line " << k;
      ok = text == lines[k];
    }

    // Every line back with its CR LF.
    EXPECT_EQ(Store(output.c_str(), 3, recalled.lines), recalled.lines);
    const std::string stored = dir_.Read("output.txt");
    const std::string expected = EndsWithBreak(data) ? data : data + "\r\n";
    EXPECT_TRUE(stored == expected) << "stored " << stored.size() << " bytes";
    ok = ok && stored == expected;

    // A negative count leaves out the empty lines at the end.
    size_t kept = lines.size();
    while (kept > 0 && lines[kept - 1].empty()) --kept;
    std::string trimmed;
    for (size_t k = 0; k < kept; ++k) trimmed += lines[k] + "\r\n";
    Store(output.c_str(), 3, -1);
    EXPECT_TRUE(dir_.Read("output.txt") == trimmed) << "stored with a negative count";
    ok = ok && dir_.Read("output.txt") == trimmed;
    failures += ok ? 0 : 1;
  }
  EraseArray(3);
}

}  // namespace
}  // namespace corvala
