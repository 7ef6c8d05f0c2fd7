// Gives the answers of the Windows profile functions as measured under Wine
// (docs/platform.md, "Profile files"):
// - the file is cut into lines at every run of CR and LF; each line loses
//   its leading and trailing blanks (tab, VT, FF, space and the DOS
//   end-of-file byte 0x1A);
// - "[" up to the last "]" of a line opens a section, its name trimmed, the
//   rest of the line ignored; keys in front of the first header belong to a
//   section with the empty name;
// - any other line is a key: its name in front of the first "=", its value
//   behind it, both trimmed; a key line without "=" has no value and gives
//   the default; names and values end at a NUL byte;
// - names match without regard to the case of A-Z only; only the first
//   section of a name is searched, and in it only the first key of a name;
// - the functions work on UTF-16 converted from the code page, so code page
//   932 is walked by characters: a lead byte takes the next byte whatever it
//   is but NUL (a CR, LF, "=" or "]" there is no delimiter), and a pair
//   with an invalid second byte, or a lead byte at the very end or before a
//   NUL, reads as "・".
#include "platform/ProfileReader.h"

#include <cstdint>

#include "platform/MbcsText.h"

namespace profile {

namespace {

using platform::CodePage;

const char kUtf8Bom[] = "\xEF\xBB\xBF";
const char kCp932Replacement[] = "\x81\x45";  // "・", what an invalid pair becomes

bool IsBlankByte(unsigned char b) {
  return b == ' ' || b == '\t' || b == '\n' || b == '\v' || b == '\f' || b == '\r' || b == 0x1A;
}

bool IsCp932Trail(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Code page 932 as the round trip through UTF-16 gives it back: invalid
// pairs and a lone final lead byte become "・". Other pages are unchanged.
std::string AsConverted(const std::string& text, CodePage cp) {
  if (cp != CodePage::Cp932) return text;
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = mbcs::CharLength(text, pos, cp);
    const unsigned char b = static_cast<unsigned char>(text[pos]);
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    if (lead && length == 2 && text[pos + 1] == '\0') {
      out += kCp932Replacement;  // the NUL is not taken: it still ends the text
      pos += 1;
      continue;
    }
    if (lead && (length == 1 || !IsCp932Trail(static_cast<unsigned char>(text[pos + 1])))) {
      out += kCp932Replacement;
    } else {
      out.append(text, pos, length);
    }
    pos += length;
  }
  return out;
}

bool IsBlankAt(const std::string& text, std::size_t pos, CodePage cp) {
  return mbcs::CharLength(text, pos, cp) == 1 && IsBlankByte(static_cast<unsigned char>(text[pos]));
}

struct Range {
  std::size_t begin;
  std::size_t end;
};

// r without its leading and trailing blanks.
Range Trim(const std::string& text, Range r, CodePage cp) {
  std::size_t pos = r.begin;
  while (pos < r.end && IsBlankAt(text, pos, cp)) ++pos;
  const std::size_t begin = pos;
  std::size_t end = begin;
  while (pos < r.end) {
    const bool blank = IsBlankAt(text, pos, cp);
    pos += mbcs::CharLength(text, pos, cp);
    if (!blank) end = pos;
  }
  return {begin, end};
}

// The first (or with last, the last) position in r holding the single-byte
// character c, or r.end.
std::size_t FindChar(const std::string& text, Range r, char c, CodePage cp, bool last) {
  std::size_t found = r.end;
  for (std::size_t pos = r.begin; pos < r.end; pos += mbcs::CharLength(text, pos, cp)) {
    if (mbcs::CharLength(text, pos, cp) == 1 && text[pos] == c) {
      found = pos;
      if (!last) break;
    }
  }
  return found;
}

// The text of r, trimmed and ending at a NUL byte as a C string does.
std::string NameText(const std::string& text, Range r, CodePage cp) {
  const Range t = Trim(text, r, cp);
  std::string name = text.substr(t.begin, t.end - t.begin);
  const std::size_t nul = name.find('\0');
  if (nul != std::string::npos) name.resize(nul);
  return name;
}

bool SameName(const std::string& a, CodePage cpA, const std::string& b, CodePage cpB) {
  return mbcs::ToLower(a, cpA) == mbcs::ToLower(b, cpB);
}

struct Found {
  std::string value;
  bool utf8File = false;  // the file began with the UTF-8 byte-order mark
};

bool Lookup(const std::string& rawContent, const std::string& rawSection,
            const std::string& rawKey, CodePage cp, Found& found) {
  found.utf8File = rawContent.compare(0, 3, kUtf8Bom) == 0;
  const CodePage fileCp = found.utf8File ? CodePage::Utf8 : cp;
  const std::string content = found.utf8File ? rawContent.substr(3) : AsConverted(rawContent, cp);
  const std::string section = AsConverted(rawSection, cp);
  const std::string key = AsConverted(rawKey, cp);
  const std::string wantedSection = NameText(section, {0, section.size()}, cp);
  const std::string wantedKey = NameText(key, {0, key.size()}, cp);

  bool inWanted = wantedSection.empty();  // the nameless section in front of any header
  bool seenWanted = inWanted;
  std::size_t pos = 0;
  while (pos < content.size()) {
    const std::size_t lineBegin = pos;
    while (pos < content.size() && !(mbcs::CharLength(content, pos, fileCp) == 1 &&
                                     (content[pos] == '\r' || content[pos] == '\n'))) {
      pos += mbcs::CharLength(content, pos, fileCp);
    }
    const std::size_t lineEnd = pos;
    while (pos < content.size() && (content[pos] == '\r' || content[pos] == '\n')) ++pos;

    const Range line = Trim(content, {lineBegin, lineEnd}, fileCp);
    if (line.begin >= line.end) continue;

    if (content[line.begin] == '[') {
      const std::size_t close = FindChar(content, line, ']', fileCp, true);
      if (close != line.end) {
        if (inWanted) return false;  // later sections of the same name are not searched
        const std::string name = NameText(content, {line.begin + 1, close}, fileCp);
        inWanted = !seenWanted && SameName(name, fileCp, wantedSection, cp);
        seenWanted = seenWanted || inWanted;
        continue;
      }
    }
    if (!inWanted) continue;

    const std::size_t equals = FindChar(content, line, '=', fileCp, false);
    if (!SameName(NameText(content, {line.begin, equals}, fileCp), fileCp, wantedKey, cp)) {
      continue;
    }
    if (equals == line.end) return false;  // the first key of the name has no value
    found.value = NameText(content, {equals + 1, line.end}, fileCp);
    return true;
  }
  return false;
}

// What the UTF-16 functions copy into a buffer of size characters: a value
// that begins with a quote and ends with the same quote loses both. The
// closing quote is only looked for when the value fits the buffer, and is
// then taken off the copied text, which, when the value just fills the
// buffer, costs its last character instead (Windows does the same).
std::string CopyEntry(const std::string& value, std::size_t size, CodePage cp) {
  if (size == 0) return std::string();
  std::size_t begin = 0;
  bool quoted = false;
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    quoted = true;
    begin = 1;
  }
  std::size_t pos = begin;
  std::size_t lastChar = begin;
  std::size_t copied = 0;
  while (pos < value.size() && copied < size - 1) {
    lastChar = pos;
    pos += mbcs::CharLength(value, pos, cp);
    ++copied;
  }
  std::size_t end = pos;
  if (quoted) {
    std::size_t count = copied;
    for (std::size_t rest = pos; rest < value.size(); rest += mbcs::CharLength(value, rest, cp)) {
      ++count;
    }
    if (size >= count && copied > 0) end = lastChar;
  }
  return value.substr(begin, end - begin);
}

// The longest run of whole characters of text within limit bytes.
std::string FitBytes(const std::string& text, std::size_t limit, CodePage cp) {
  if (text.size() <= limit) return text;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t next = pos + mbcs::CharLength(text, pos, cp);
    if (next > limit) break;
    pos = next;
  }
  return text.substr(0, pos);
}

// The default loses its trailing spaces, but never its first character.
std::string TrimDefault(const std::string& defaultValue) {
  std::size_t end = defaultValue.size();
  while (end > 1 && defaultValue[end - 1] == ' ') --end;
  return defaultValue.substr(0, end);
}

// RtlUnicodeStringToInteger with base 0: characters up to the blank skipped,
// one sign, a "0x", "0o" or "0b" prefix (lower case only), then digits up to
// the first character that is none; the total wraps around at 32 bits.
int ParseInt(const std::string& text) {
  std::size_t pos = 0;
  while (pos < text.size() && static_cast<unsigned char>(text[pos]) <= ' ') ++pos;
  bool minus = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    minus = text[pos] == '-';
    ++pos;
  }
  std::uint32_t base = 10;
  if (text.size() - pos >= 2 && text[pos] == '0') {
    const char p = text[pos + 1];
    if (p == 'x') base = 16;
    if (p == 'o') base = 8;
    if (p == 'b') base = 2;
    if (base != 10) pos += 2;
  }
  std::uint32_t total = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    std::uint32_t digit = 99;
    if (c >= '0' && c <= '9') digit = static_cast<std::uint32_t>(c - '0');
    if (c >= 'a' && c <= 'z') digit = static_cast<std::uint32_t>(c - 'a') + 10;
    if (c >= 'A' && c <= 'Z') digit = static_cast<std::uint32_t>(c - 'A') + 10;
    if (digit >= base) break;
    total = total * base + digit;
  }
  if (minus) total = 0u - total;
  return static_cast<int>(total);
}

// GetPrivateProfileStringA's text, and whether it is UTF-8 from a file with
// the byte-order mark.
std::string StringAnswer(const std::string& content, const std::string& section,
                         const std::string& key, const std::string& defaultValue,
                         std::size_t bufferSize, CodePage cp, bool& utf8) {
  Found found;
  utf8 = false;
  if (!Lookup(content, section, key, cp, found)) {
    const std::string text = CopyEntry(TrimDefault(AsConverted(defaultValue, cp)), bufferSize, cp);
    return FitBytes(text, bufferSize == 0 ? 0 : bufferSize - 1, cp);
  }
  utf8 = found.utf8File;
  const CodePage valueCp = found.utf8File ? CodePage::Utf8 : cp;
  const std::string text = CopyEntry(found.value, bufferSize, valueCp);
  return FitBytes(text, bufferSize == 0 ? 0 : bufferSize - 1, valueCp);
}

}  // namespace

bool FindValue(const std::string& content, const std::string& section, const std::string& key,
               std::string& value, CodePage cp) {
  Found found;
  if (!Lookup(content, section, key, cp, found)) return false;
  value = found.value;
  return true;
}

int ReadInt(const std::string& content, const std::string& section, const std::string& key,
            int defaultValue, CodePage cp) {
  Found found;
  if (!Lookup(content, section, key, cp, found)) return defaultValue;
  // Windows reads the number through a buffer of 30 characters.
  const std::string text =
      CopyEntry(found.value, 30, found.utf8File ? CodePage::Utf8 : cp);
  if (text.empty()) return defaultValue;
  return ParseInt(text);
}

std::string ReadString(const std::string& content, const std::string& section,
                       const std::string& key, const std::string& defaultValue,
                       std::size_t bufferSize, CodePage cp) {
  bool utf8 = false;
  return StringAnswer(content, section, key, defaultValue, bufferSize, cp, utf8);
}

bool FindValue(const std::string& content, const std::string& section, const std::string& key,
               std::string& value) {
  return FindValue(content, section, key, value, platform::Current().AnsiCodePage());
}

int ReadInt(const std::string& content, const std::string& section, const std::string& key,
            int defaultValue) {
  return ReadInt(content, section, key, defaultValue, platform::Current().AnsiCodePage());
}

std::string ReadString(const std::string& content, const std::string& section,
                       const std::string& key, const std::string& defaultValue,
                       std::size_t bufferSize) {
  if (bufferSize == 0) return std::string();
  platform::Platform& p = platform::Current();
  const CodePage cp = p.AnsiCodePage();
  bool utf8 = false;
  std::string text = StringAnswer(content, section, key, defaultValue, bufferSize, cp, utf8);
  // A file with the byte-order mark holds UTF-8; the answer is in the code page.
  if (utf8 && cp != CodePage::Utf8) text = FitBytes(p.FromUtf8(text), bufferSize - 1, cp);
  return text;
}

}  // namespace profile
