// SubstituteText then ExpandDeferredText on arbitrary text, sought text, replacement and
// control word, against a plain model of the search rules; the expansion must write exactly
// the announced length and nothing beyond it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "corvala/core.h"
#include "corvala/strings.h"

namespace {

bool SameByte(unsigned char t, unsigned char p, bool folded) {
  return folded ? (t | 32) == (p | 32) : t == p;
}

bool MatchesAt(const std::string& text, const std::string& sought, size_t at, uint32_t flags) {
  if (at + sought.size() > text.size()) return false;
  bool ignoreCase = flags & corvala::FindIgnoreCase;
  bool firstIgnoreCase = flags & corvala::FindFirstIgnoreCase;
  for (size_t j = 0; j < sought.size(); ++j) {
    bool folded = ignoreCase || (firstIgnoreCase && j == 0);
    if (!SameByte(text[at + j], sought[j], folded)) return false;
  }
  unsigned char first = sought[0];
  if ((flags & corvala::FindWholeWord) && !(first <= 32 || first >= 128)) {
    unsigned char after = at + sought.size() < text.size() ? text[at + sought.size()] : 0;
    unsigned char before = at > 0 ? text[at - 1] : 0;
    if (after > 64 || before > 64) return false;
  }
  return true;
}

std::string Model(const std::string& text, const std::string& sought,
                  const std::string& replacement, uint32_t control) {
  if (sought.empty()) return text;
  // One byte is sought exactly, whatever the flags.
  uint32_t flags = sought.size() == 1 ? 0 : control & 0xFF;
  uint32_t limit = (control >> 8) & 0xFF;
  std::string out;
  size_t from = 0;
  uint32_t count = 0;
  for (size_t at = 0; at < text.size();) {
    if (!MatchesAt(text, sought, at, flags)) {
      ++at;
      continue;
    }
    out.append(text, from, at - from);
    out += replacement;
    from = at = at + sought.size();
    if (++count == limit) break;
  }
  out.append(text, from, std::string::npos);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  uint32_t control = data[0] | (static_cast<uint32_t>(data[1] & 3) << 8);
  // The rest is text, sought text and replacement, separated by zero bytes.
  std::string parts[3];
  int part = 0;
  for (size_t i = 2; i < size && part < 3; ++i) {
    if (data[i] == 0) {
      ++part;
    } else {
      parts[part] += static_cast<char>(data[i]);
    }
  }
  const std::string& text = parts[0];
  const std::string& sought = parts[1];
  const std::string& replacement = parts[2];

  int32_t length =
      corvala::SubstituteText(text.c_str(), sought.c_str(), replacement.c_str(), control);
  std::string expected = Model(text, sought, replacement, control);
  if (length != static_cast<int32_t>(expected.size())) std::abort();
  const corvala::TempSlot* slot = corvala::SelectTempSlot(corvala::kSlotCurrent);
  if (slot->length != length || !corvala::IsDeferredText(slot->text)) std::abort();

  std::vector<char> out(expected.size() + 16, '#');
  uint32_t written =
      corvala::ExpandDeferredText(slot->text, out.data(), static_cast<uint32_t>(length));
  if (written != expected.size()) std::abort();
  if (std::memcmp(out.data(), expected.data(), expected.size()) != 0) std::abort();
  for (size_t i = expected.size(); i < out.size(); ++i) {
    if (out[i] != '#') std::abort();
  }
  return 0;
}
