// Follows the reading rules of the Windows profile functions as Wine
// implements them: the file is cut into lines at every run of CR and LF,
// each line is trimmed, "[name]" (up to the last "]") opens a section, and
// any other line is a key, its name in front of the first "=" and its value
// behind it. A key line without "=" has no value, so it gives the default.
// Only the first section of a name is searched, and in it the first key of
// the name. Everything walks characters of the code page, so a trail byte
// ("]" in ゾ, 0x83 0x5D) never counts as a delimiter.
#include "platform/ProfileReader.h"

#include <cstdint>

#include "platform/MbcsText.h"

namespace profile {

namespace {

using platform::CodePage;

const char kUtf8Bom[] = "\xEF\xBB\xBF";

// Length of the blank character at pos, or 0. The blanks are those Wine
// trims: the C white space characters and the DOS end-of-file byte 0x1A.
std::size_t BlankLength(const std::string& text, std::size_t pos, CodePage cp) {
  const std::size_t length = mbcs::CharLength(text, pos, cp);
  if (length != 1) return 0;
  const unsigned char b = static_cast<unsigned char>(text[pos]);
  return (b == ' ' || (b >= 0x09 && b <= 0x0D) || b == 0x1A) ? 1 : 0;
}

struct Range {
  std::size_t begin;
  std::size_t end;
};

// [begin, end) without its leading and trailing blanks.
Range Trim(const std::string& text, Range r, CodePage cp) {
  std::size_t pos = r.begin;
  while (pos < r.end) {
    const std::size_t blank = BlankLength(text, pos, cp);
    if (blank == 0) break;
    pos += blank;
  }
  const std::size_t begin = pos;
  std::size_t end = begin;
  while (pos < r.end) {
    const std::size_t blank = BlankLength(text, pos, cp);
    if (blank != 0) {
      pos += blank;
    } else {
      pos += mbcs::CharLength(text, pos, cp);
      end = pos;
    }
  }
  return {begin, end < r.end ? end : r.end};
}

// The first character position in [begin, end) holding the single-byte c,
// or end; with last, the last such position.
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

bool SameName(const std::string& a, CodePage cpA, const std::string& b, CodePage cpB) {
  return mbcs::ToLower(a, cpA) == mbcs::ToLower(b, cpB);
}

std::string TrimmedName(const std::string& name, CodePage cp) {
  const Range r = Trim(name, {0, name.size()}, cp);
  return name.substr(r.begin, r.end - r.begin);
}

// Shared by FindValue and the readers: looks the key up and reports whether
// the file was UTF-8 with a byte-order mark.
bool Lookup(const std::string& content, const std::string& section, const std::string& key,
            CodePage cp, std::string& value, bool& utf8File) {
  std::size_t pos = 0;
  CodePage fileCp = cp;
  utf8File = content.compare(0, 3, kUtf8Bom) == 0;
  if (utf8File) {
    pos = 3;
    fileCp = CodePage::Utf8;
  }
  const std::string wantedSection = TrimmedName(section, cp);
  const std::string wantedKey = TrimmedName(key, cp);

  // Keys in front of the first section header belong to a section with the
  // empty name.
  bool inWanted = wantedSection.empty();
  bool seenWanted = inWanted;
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
        if (inWanted) return false;  // only the first section of the name counts
        const std::string name = content.substr(line.begin + 1, close - line.begin - 1);
        inWanted = !seenWanted && SameName(name, fileCp, wantedSection, cp);
        seenWanted = seenWanted || inWanted;
        continue;
      }
    }
    if (!inWanted) continue;

    const std::size_t equals = FindChar(content, line, '=', fileCp, false);
    const Range name = Trim(content, {line.begin, equals}, fileCp);
    if (!SameName(content.substr(name.begin, name.end - name.begin), fileCp, wantedKey, cp)) {
      continue;
    }
    // The first key of the name decides, also when it has no value.
    if (equals == line.end) return false;
    const Range v = Trim(content, {equals + 1, line.end}, fileCp);
    value = content.substr(v.begin, v.end - v.begin);
    return true;
  }
  return false;
}

// The text GetPrivateProfileStringA copies into a buffer of bufferSize bytes:
// a value enclosed in a pair of equal quotes loses them, and the result is
// cut to bufferSize - 1 bytes without splitting a character.
std::string CopyEntry(const std::string& value, std::size_t bufferSize, CodePage cp) {
  if (bufferSize == 0) return std::string();
  std::string text = value;
  if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0]) {
    text = text.substr(1, text.size() - 2);
  }
  const std::size_t limit = bufferSize - 1;
  if (text.size() <= limit) return text;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t next = pos + mbcs::CharLength(text, pos, cp);
    if (next > limit) break;
    pos = next;
  }
  return text.substr(0, pos);
}

// The default loses its trailing blanks, as the Windows functions do.
std::string TrimDefault(const std::string& defaultValue) {
  std::size_t end = defaultValue.size();
  while (end > 0 && defaultValue[end - 1] == ' ') --end;
  return defaultValue.substr(0, end);
}

// Windows' integer reading (RtlUnicodeStringToInteger with base 0): leading
// control characters and blanks skipped, one sign, a "0x", "0o" or "0b"
// prefix, then digits up to the first character that is not one; the total
// wraps around at 32 bits.
int ParseInt(const std::string& text) {
  std::size_t pos = 0;
  while (pos < text.size() && static_cast<unsigned char>(text[pos]) <= ' ') ++pos;
  bool minus = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    minus = text[pos] == '-';
    ++pos;
  }
  unsigned base = 10;
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
    unsigned digit = 99;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'z') digit = static_cast<unsigned>(c - 'a') + 10;
    if (c >= 'A' && c <= 'Z') digit = static_cast<unsigned>(c - 'A') + 10;
    if (digit >= base) break;
    total = total * base + digit;
  }
  if (minus) total = 0u - total;
  return static_cast<int>(total);
}

}  // namespace

bool FindValue(const std::string& content, const std::string& section, const std::string& key,
               std::string& value, CodePage cp) {
  bool utf8File = false;
  return Lookup(content, section, key, cp, value, utf8File);
}

int ReadInt(const std::string& content, const std::string& section, const std::string& key,
            int defaultValue, CodePage cp) {
  std::string value;
  bool utf8File = false;
  if (!Lookup(content, section, key, cp, value, utf8File)) return defaultValue;
  // Windows reads the number from a 30-character buffer.
  const std::string text = CopyEntry(value, 30, utf8File ? CodePage::Utf8 : cp);
  if (text.empty()) return defaultValue;
  return ParseInt(text);
}

std::string ReadString(const std::string& content, const std::string& section,
                       const std::string& key, const std::string& defaultValue,
                       std::size_t bufferSize, CodePage cp) {
  std::string value;
  bool utf8File = false;
  if (!Lookup(content, section, key, cp, value, utf8File)) {
    return CopyEntry(TrimDefault(defaultValue), bufferSize, cp);
  }
  return CopyEntry(value, bufferSize, utf8File ? CodePage::Utf8 : cp);
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
  return ReadString(content, section, key, defaultValue, bufferSize,
                    platform::Current().AnsiCodePage());
}

}  // namespace profile
