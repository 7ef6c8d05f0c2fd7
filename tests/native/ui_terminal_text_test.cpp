// The terminal dialog's texts in cells and its keys, on their own: code
// page 932 and control bytes (which tmux under UTF-8 never shows), and the
// byte sequences of the keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/TerminalKeys.h"
#include "platform/posix/TerminalText.h"

namespace {

using platform::CodePage;
using terminal::Glyph;
using terminal::GlyphLine;

std::string Bytes(const GlyphLine& line) {
  std::string out;
  for (const Glyph& g : line) out += g.bytes;
  return out;
}

std::vector<int> Widths(const GlyphLine& line) {
  std::vector<int> out;
  for (const Glyph& g : line) out.push_back(g.width);
  return out;
}

TEST(UiTerminalText, CellsPerCharacterInEachCodePage) {
  struct Row {
    const char* what;
    CodePage cp;
    std::string text;
    std::string shown;
    std::vector<int> widths;
  };
  const Row rows[] = {
      {"UTF-8 ASCII, full-width, half-width katakana", CodePage::Utf8, "aあｱ\u3000", "aあｱ\u3000", {1, 2, 1, 2}},
      {"UTF-8 invalid byte", CodePage::Utf8, "a\xFFz", "a?z", {1, 1, 1}},
      {"UTF-8 combining mark takes no cell", CodePage::Utf8, "e\u0301", "e", {1}},
      {"CP932 表 with its 0x5C trail byte", CodePage::Cp932, "\x95\x5C\x83\x5C", "\x95\x5C\x83\x5C", {2, 2}},
      {"CP932 half-width katakana", CodePage::Cp932, "\xB1\xB2", "\xB1\xB2", {1, 1}},
      {"CP932 lone lead byte at the end", CodePage::Cp932, "a\x95", "a?", {1, 1}},
      {"single-byte Latin-1", CodePage::SingleByte, "caf\xE9", "caf\xE9", {1, 1, 1, 1}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const GlyphLine line = terminal::ToGlyphs(r.text, r.cp);
    EXPECT_EQ(Bytes(line), r.shown);
    EXPECT_EQ(Widths(line), r.widths);
  }
}

// A catalogue text can never send the terminal a control sequence.
TEST(UiTerminalText, ControlBytesNeverReachTheTerminal) {
  for (CodePage cp : {CodePage::Utf8, CodePage::Cp932, CodePage::SingleByte}) {
    const GlyphLine line = terminal::ToGlyphs("a\x1b[2Jb\x07\x08\x7F\tc", cp);
    EXPECT_EQ(Bytes(line), "a[2Jb c");
  }
  // C1 controls: CSI as a UTF-8 character, and as a Latin-1 byte.
  EXPECT_EQ(Bytes(terminal::ToGlyphs("a\xC2\x9B" "2Jb", CodePage::Utf8)), "a2Jb");
  EXPECT_EQ(Bytes(terminal::ToGlyphs("a\x9B" "2Jb", CodePage::SingleByte)), "a2Jb");
}

TEST(UiTerminalText, MnemonicsUnderlineTheirLetter) {
  const GlyphLine line = terminal::ToGlyphs("&Close && (&A)", CodePage::Utf8, true);
  EXPECT_EQ(Bytes(line), "Close & (A)");
  std::string underlined;
  for (const Glyph& g : line)
    if (g.underline) underlined += g.bytes;
  EXPECT_EQ(underlined, "CA");
  EXPECT_EQ(Bytes(terminal::ToGlyphs("&Close", CodePage::Utf8, false)), "&Close");
}

TEST(UiTerminalText, LinesKeepBreaksAndWrapWithinTheWidth) {
  struct Row {
    const char* what;
    std::string text;
    int width;
    std::vector<std::string> lines;
  };
  const Row rows[] = {
      {"CR LF, LF and CR each break once", "a\r\nb\nc\rd", 10, {"a", "b", "c", "d"}},
      {"an empty line between two breaks", "a\r\n\r\nb", 10, {"a", "", "b"}},
      {"at the last blank that fits", "one two three", 9, {"one two", "three"}},
      {"blanks at the break are dropped", "one   two", 4, {"one", "two"}},
      {"no blank: between characters", "abcdefgh", 3, {"abc", "def", "gh"}},
      {"a full-width character is never split", "ああああ", 5, {"ああ", "ああ"}},
      {"full-width text breaks anywhere", "あいうabc", 4, {"あい", "うab", "c"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    std::vector<std::string> got;
    for (const GlyphLine& line : terminal::Lines(r.text, CodePage::Utf8, r.width, true)) {
      EXPECT_LE(terminal::Width(line), r.width);
      got.push_back(Bytes(line));
    }
    EXPECT_EQ(got, r.lines);
  }
}

TEST(UiTerminalKeys, SequencesOfTheKeys) {
  using terminal::KeyKind;
  struct Row {
    std::string bytes;
    bool final;
    std::size_t used;
    KeyKind kind;
  };
  const Row rows[] = {
      {"\r", false, 1, KeyKind::Enter},
      {" ", false, 1, KeyKind::Space},
      {"\x03", false, 1, KeyKind::Interrupt},
      {"\x1b", false, 0, KeyKind::None},     // may begin a sequence: wait
      {"\x1b", true, 1, KeyKind::Escape},    // nothing followed
      {"\x1b ", false, 2, KeyKind::AltSpace},
      {"\x1b[21~", false, 5, KeyKind::F10},
      {"\x1b[21;2~", false, 7, KeyKind::F10},
      {"\x1b[2", false, 0, KeyKind::None},   // cut: wait for the rest
      {"\x1b[2", true, 3, KeyKind::None},    // never completed: dropped
      {"\x1b[A", false, 3, KeyKind::Up},
      {"\x1bOB", false, 3, KeyKind::Down},
      {"\x1b[1;3S", false, 6, KeyKind::AltF4},
      {"\x1b[15~x", false, 5, KeyKind::None},  // F5: not ours, one key only
      {"\x1b\x1b", false, 1, KeyKind::Escape},
      {"a", false, 1, KeyKind::Char},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::PrintToString(r.bytes) + (r.final ? " final" : ""));
    terminal::Key key;
    EXPECT_EQ(terminal::DecodeKey(r.bytes, r.final, key), r.used);
    EXPECT_EQ(key.kind, r.kind);
  }
}

}  // namespace
