// The screen of the terminal dialog as a grid of cells, drawn whole and
// then sent to the terminal in one write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/posix/TerminalLayout.h"
#include "platform/posix/TerminalText.h"

namespace terminal {

struct Attr {
  bool reverse = false;
  bool underline = false;
  bool bold = false;
  bool dim = false;
  int fg = 0;  // SGR colour number (30-37, 90-97), 0 for the default
  int bg = 0;  // SGR colour number (40-47), 0 for the default
  bool operator==(const Attr& o) const {
    return reverse == o.reverse && underline == o.underline && bold == o.bold && dim == o.dim &&
           fg == o.fg && bg == o.bg;
  }
  bool operator!=(const Attr& o) const { return !(*this == o); }
};

// Line drawing: Unicode box characters under UTF-8, ASCII elsewhere.
struct BoxStyle {
  const char* h;
  const char* v;
  const char* tl;
  const char* tr;
  const char* bl;
  const char* br;
  const char* ml;  // a separator's ends
  const char* mr;
};
const BoxStyle& LightBox(platform::CodePage cp);
const BoxStyle& DoubleBox(platform::CodePage cp);

class Canvas {
 public:
  Canvas(int rows, int cols);
  int Rows() const { return m_rows; }
  int Cols() const { return m_cols; }

  // Everything drawn from now on stays inside clip (screen cells).
  void SetClip(const CellRect& clip) { m_clip = clip; }
  void ClearClip() { m_clip = CellRect{0, 0, m_cols, m_rows}; }

  void Put(int row, int col, const Glyph& g, const Attr& a);
  // Cells from col on; returns the column after the last.
  int PutLine(int row, int col, const GlyphLine& line, const Attr& a);
  void Fill(const CellRect& r, const Attr& a);
  void Box(const CellRect& r, const BoxStyle& s, const Attr& a);
  void HLine(int row, int left, int right, const BoxStyle& s, const Attr& a, bool ends);

  // The whole screen as terminal output: positioned rows with their
  // attributes.
  std::string Render() const;

 private:
  struct Cell {
    std::string glyph = " ";
    int width = 1;  // 0: the right half of a wide character
    Attr attr;
  };
  Cell& At(int row, int col) { return m_cells[static_cast<std::size_t>(row * m_cols + col)]; }
  const Cell& At(int row, int col) const { return m_cells[static_cast<std::size_t>(row * m_cols + col)]; }
  bool Inside(int row, int col) const;

  int m_rows;
  int m_cols;
  CellRect m_clip;
  std::vector<Cell> m_cells;
};

// The glyph of one ASCII or line-drawing character.
Glyph Plain(const char* bytes);

}  // namespace terminal
