// Texts of the terminal dialog as character cells: each character of the
// ANSI code page with the number of cells it takes (full-width characters
// two), line breaks kept and long lines wrapped.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace terminal {

struct Glyph {
  std::string bytes;  // what goes to the terminal; never a control byte
  int width = 1;      // 1 or 2 cells
  bool underline = false;  // the mnemonic of a label
};

using GlyphLine = std::vector<Glyph>;

// The characters of one line of text. Control bytes (and C1 controls in
// UTF-8) are left out, so a text can never send the terminal a sequence;
// a tab becomes a blank, an invalid byte a question mark. With mnemonics,
// "&x" underlines x and "&&" stands for "&", as in a Windows label.
GlyphLine ToGlyphs(const std::string& text, platform::CodePage cp, bool mnemonics = false);

int Width(const GlyphLine& line);

// The text's lines, split at CR LF (and at a lone LF or CR), each broken
// into lines of at most width cells when wrap is set: after the last blank
// that fits, or else between two characters.
std::vector<GlyphLine> Lines(const std::string& text, platform::CodePage cp, int width, bool wrap,
                             bool mnemonics = false);

// Cells a Unicode character takes: 2 for East Asian wide and full-width
// characters, 0 for combining marks, else 1.
int CodePointWidth(char32_t c);

}  // namespace terminal
