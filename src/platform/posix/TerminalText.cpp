#include "platform/posix/TerminalText.h"

#include "platform/MbcsText.h"

namespace terminal {

namespace {

struct Range {
  char32_t first, last;
};

// East Asian Wide (W) and Fullwidth (F) blocks.
constexpr Range kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x2E80, 0x303E},
    {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F},
    {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};
constexpr Range kZero[] = {{0x0300, 0x036F}, {0x200B, 0x200F}, {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}};

bool In(const Range* begin, const Range* end, char32_t c) {
  for (const Range* r = begin; r != end; ++r) {
    if (c >= r->first && c <= r->last) return true;
  }
  return false;
}

// The code point of a complete UTF-8 sequence, or 0xFFFFFFFF.
char32_t DecodeUtf8(const std::string& s, std::size_t pos, std::size_t len) {
  const auto b0 = static_cast<unsigned char>(s[pos]);
  if (len == 1) return b0 < 0x80 ? b0 : 0xFFFFFFFFu;
  char32_t c = len == 2 ? (b0 & 0x1Fu) : len == 3 ? (b0 & 0x0Fu) : (b0 & 0x07u);
  for (std::size_t i = 1; i < len; ++i) {
    const auto b = static_cast<unsigned char>(s[pos + i]);
    if ((b & 0xC0u) != 0x80u) return 0xFFFFFFFFu;
    c = (c << 6) | (b & 0x3Fu);
  }
  return c;
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// One character at pos as a glyph; false for a character that shows
// nothing (a control byte).
bool MakeGlyph(const std::string& text, std::size_t pos, std::size_t len, platform::CodePage cp,
               Glyph& g) {
  const auto b0 = static_cast<unsigned char>(text[pos]);
  g = Glyph();
  if (b0 == '\t') {
    g.bytes = " ";
    return true;
  }
  if (b0 < 0x20 || b0 == 0x7F) return false;
  if (cp == platform::CodePage::Utf8) {
    const char32_t c = DecodeUtf8(text, pos, len);
    if (c == 0xFFFFFFFFu) {
      g.bytes = "?";
      return true;
    }
    if (c >= 0x80 && c < 0xA0) return false;
    const int w = CodePointWidth(c);
    if (w == 0) return false;  // combining marks are not drawn on their own
    g.width = w;
  } else if (cp == platform::CodePage::Cp932) {
    if (len == 2) {
      g.width = 2;
    } else if (b0 >= 0x80 && !(b0 >= 0xA1 && b0 <= 0xDF)) {
      g.bytes = "?";  // a lone lead byte or an unused byte
      return true;
    }
  } else if (b0 >= 0x80 && b0 < 0xA0) {
    return false;  // C1 controls of the ISO 8859 sets
  }
  g.bytes = text.substr(pos, len);
  return true;
}

}  // namespace

int CodePointWidth(char32_t c) {
  if (In(kZero, kZero + sizeof kZero / sizeof kZero[0], c)) return 0;
  if (In(kWide, kWide + sizeof kWide / sizeof kWide[0], c)) return 2;
  return 1;
}

GlyphLine ToGlyphs(const std::string& text, platform::CodePage cp, bool mnemonics) {
  GlyphLine line;
  bool underlineNext = false;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = mbcs::CharLength(text, pos, cp);
    if (mnemonics && text[pos] == '&') {
      if (pos + 1 < text.size() && text[pos + 1] == '&') {
        Glyph amp;
        amp.bytes = "&";
        amp.underline = underlineNext;
        underlineNext = false;
        line.push_back(amp);
        pos += 2;
        continue;
      }
      underlineNext = true;
      pos += 1;
      continue;
    }
    Glyph g;
    if (MakeGlyph(text, pos, len, cp, g)) {
      g.underline = underlineNext;
      underlineNext = false;
      line.push_back(g);
    }
    pos += len;
  }
  return line;
}

int Width(const GlyphLine& line) {
  int w = 0;
  for (const Glyph& g : line) w += g.width;
  return w;
}

std::vector<GlyphLine> Lines(const std::string& text, platform::CodePage cp, int width, bool wrap,
                             bool mnemonics) {
  std::vector<GlyphLine> out;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = start;
    while (end < text.size() && !IsLineBreak(text[end])) end += mbcs::CharLength(text, end, cp);
    GlyphLine line = ToGlyphs(text.substr(start, end - start), cp, mnemonics);
    if (!wrap || width <= 0) {
      out.push_back(line);
    } else {
      // Greedy: a line ends after the last blank that fits, or between two
      // characters where it has none; blanks at a break are dropped.
      while (Width(line) > width) {
        int w = 0;
        std::size_t fit = 0;
        while (fit < line.size() && w + line[fit].width <= width) w += line[fit++].width;
        std::size_t cut = fit;
        std::size_t resume = fit;
        if (line[fit].bytes == " ") {
          resume = fit + 1;
        } else {
          for (std::size_t i = fit; i > 0; --i) {
            if (line[i - 1].bytes == " ") {
              cut = i - 1;
              resume = i;
              break;
            }
          }
        }
        if (cut == 0 && resume == 0) cut = resume = fit > 0 ? fit : 1;
        while (cut > 0 && line[cut - 1].bytes == " " && resume > cut - 1) --cut;
        out.emplace_back(line.begin(), line.begin() + static_cast<long>(cut));
        while (resume < line.size() && line[resume].bytes == " ") ++resume;
        line.erase(line.begin(), line.begin() + static_cast<long>(resume));
      }
      out.push_back(line);
    }
    if (end >= text.size()) break;
    // CR LF is one break; a lone CR or LF is one too.
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return out;
}

}  // namespace terminal
