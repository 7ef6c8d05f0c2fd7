// The multi-byte text walk on any bytes, in each code page: every answer
// lies on a character boundary and agrees with a plain walk over the
// boundaries; the comparison is an order; nothing reads past a text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "platform/MbcsText.h"

namespace {

std::vector<std::size_t> Boundaries(const std::string& text, platform::CodePage cp) {
  std::vector<std::size_t> out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    out.push_back(pos);
    const std::size_t length = mbcs::CharLength(text, pos, cp);
    FUZZ_CHECK(length >= 1 && length <= 4);
    pos += length;
  }
  FUZZ_CHECK(pos == text.size());  // the last character never hangs over the end
  out.push_back(pos);
  return out;
}

bool IsBoundary(const std::vector<std::size_t>& b, std::size_t pos) {
  for (std::size_t x : b)
    if (x == pos) return true;
  return false;
}

// The first boundary from `from` on where needle's bytes stand and end on a
// boundary: what Find has to answer.
std::size_t NaiveFind(const std::string& text, const std::string& needle,
                      const std::vector<std::size_t>& b, std::size_t from) {
  for (std::size_t pos : b) {
    if (pos < from || pos == text.size()) continue;
    if (text.size() - pos < needle.size()) break;
    if (text.compare(pos, needle.size(), needle) == 0 && IsBoundary(b, pos + needle.size()))
      return pos;
  }
  return std::string::npos;
}

std::string NaiveReplace(const std::string& text, const std::string& needle,
                         const std::string& to, const std::vector<std::size_t>& b) {
  std::string out;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t found = NaiveFind(text, needle, b, pos);
    if (found == std::string::npos) break;
    out.append(text, pos, found - pos);
    out += to;
    pos = found + needle.size();
  }
  out.append(text, pos, std::string::npos);
  return out;
}

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const platform::CodePage cp = CodePageOf(in.ConsumeIntegral<std::uint8_t>());
  const std::string needle = in.ConsumeRandomLengthString(8);
  const std::string to = in.ConsumeRandomLengthString(8);
  const std::string other = in.ConsumeRandomLengthString(64);
  const std::string text = in.ConsumeRemainingBytesAsString();
  const std::vector<std::size_t> b = Boundaries(text, cp);

  if (!needle.empty()) {
    const std::size_t found = mbcs::Find(text, needle, cp);
    FUZZ_CHECK(found == NaiveFind(text, needle, b, 0));
    const std::string replaced = mbcs::ReplaceAll(text, needle, to, cp);
    FUZZ_CHECK(replaced == NaiveReplace(text, needle, to, b));
    if (found != std::string::npos && found + 1 < text.size())
      FUZZ_CHECK(mbcs::Find(text, needle, cp, found + 1) == NaiveFind(text, needle, b, found + 1));
  }

  const std::string lower = mbcs::ToLower(text, cp);
  FUZZ_CHECK(lower.size() == text.size());
  FUZZ_CHECK(mbcs::ToLower(lower, cp) == lower);
  FUZZ_CHECK(Boundaries(lower, cp) == b);  // lowering keeps every character whole

  FUZZ_CHECK(mbcs::Compare(text, text, cp) == 0);
  const int ab = mbcs::Compare(text, other, cp);
  FUZZ_CHECK(Sign(ab) == -Sign(mbcs::Compare(other, text, cp)));
  FUZZ_CHECK((ab == 0) == (text == other));
  FUZZ_CHECK(mbcs::Compare(text, text + other, cp) <= 0);  // a prefix sorts first

  for (char c : {'\\', '/', '=', ']'}) {
    std::size_t expected = std::string::npos;
    for (std::size_t pos : b)
      if (pos < text.size() && text[pos] == c && mbcs::CharLength(text, pos, cp) == 1)
        expected = pos;
    FUZZ_CHECK(mbcs::FindLastChar(text, c, cp) == expected);
  }
  return 0;
}
