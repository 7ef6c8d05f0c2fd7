#include "platform/MbcsText.h"

namespace mbcs {

namespace {

unsigned char ByteAt(const std::string& text, std::size_t pos) {
  return static_cast<unsigned char>(text[pos]);
}

bool IsCp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool IsUtf8Continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of a well-formed UTF-8 sequence at pos (no overlong forms, no
// surrogates, nothing above U+10FFFF), or 1.
std::size_t Utf8Length(const std::string& text, std::size_t pos) {
  const unsigned char lead = ByteAt(text, pos);
  std::size_t length = 1;
  unsigned char secondLow = 0x80;
  unsigned char secondHigh = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) secondLow = 0xA0;
    if (lead == 0xED) secondHigh = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) secondLow = 0x90;
    if (lead == 0xF4) secondHigh = 0x8F;
  } else {
    return 1;
  }
  if (text.size() - pos < length) return 1;
  const unsigned char second = ByteAt(text, pos + 1);
  if (second < secondLow || second > secondHigh) return 1;
  for (std::size_t i = 2; i < length; ++i) {
    if (!IsUtf8Continuation(ByteAt(text, pos + i))) return 1;
  }
  return length;
}

// True when needle's bytes stand at pos and the match ends on a character
// boundary of text (pos itself is one).
bool MatchesAt(const std::string& text, std::size_t pos, const std::string& needle,
               platform::CodePage cp) {
  if (text.size() - pos < needle.size()) return false;
  if (text.compare(pos, needle.size(), needle) != 0) return false;
  const std::size_t end = pos + needle.size();
  std::size_t at = pos;
  while (at < end) at += CharLength(text, at, cp);
  return at == end;
}

}  // namespace

std::size_t CharLength(const std::string& text, std::size_t pos, platform::CodePage cp) {
  if (pos >= text.size()) return 1;
  switch (cp) {
    case platform::CodePage::Cp932:
      return IsCp932Lead(ByteAt(text, pos)) && pos + 1 < text.size() ? 2 : 1;
    case platform::CodePage::Utf8:
      return Utf8Length(text, pos);
    case platform::CodePage::SingleByte:
      break;
  }
  return 1;
}

std::size_t Find(const std::string& text, const std::string& needle, platform::CodePage cp,
                 std::size_t from) {
  std::size_t pos = 0;
  while (pos < from && pos < text.size()) pos += CharLength(text, pos, cp);
  if (pos < from) return std::string::npos;  // from lies beyond the end
  for (; pos <= text.size(); pos += CharLength(text, pos, cp)) {
    if (MatchesAt(text, pos, needle, cp)) return pos;
    if (pos == text.size()) break;
  }
  return std::string::npos;
}

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to,
                       platform::CodePage cp) {
  if (from.empty()) return text;
  std::string result;
  result.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (MatchesAt(text, pos, from, cp)) {
      result += to;
      pos += from.size();
    } else {
      const std::size_t length = CharLength(text, pos, cp);
      result.append(text, pos, length);
      pos += length;
    }
  }
  return result;
}

std::string ToLower(const std::string& text, platform::CodePage cp) {
  std::string result = text;
  for (std::size_t pos = 0; pos < result.size();) {
    const std::size_t length = CharLength(result, pos, cp);
    if (length == 1 && result[pos] >= 'A' && result[pos] <= 'Z') {
      result[pos] = static_cast<char>(result[pos] - 'A' + 'a');
    }
    pos += length;
  }
  return result;
}

int Compare(const std::string& a, const std::string& b, platform::CodePage cp) {
  // In UTF-8 byte order is code point order, and single-byte pages have no
  // pairs: only code page 932 needs the character walk.
  if (cp != platform::CodePage::Cp932) {
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  std::size_t pa = 0;
  std::size_t pb = 0;
  while (pa < a.size() && pb < b.size()) {
    const std::size_t la = CharLength(a, pa, cp);
    const std::size_t lb = CharLength(b, pb, cp);
    unsigned va = ByteAt(a, pa);
    unsigned vb = ByteAt(b, pb);
    if (la == 2) va = va * 256 + ByteAt(a, pa + 1);
    if (lb == 2) vb = vb * 256 + ByteAt(b, pb + 1);
    if (va != vb) return va < vb ? -1 : 1;
    pa += la;
    pb += lb;
  }
  if (pa < a.size()) return 1;
  if (pb < b.size()) return -1;
  return 0;
}

std::size_t FindLastChar(const std::string& text, char c, platform::CodePage cp) {
  std::size_t found = std::string::npos;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = CharLength(text, pos, cp);
    if (length == 1 && text[pos] == c) found = pos;
    pos += length;
  }
  return found;
}

}  // namespace mbcs
