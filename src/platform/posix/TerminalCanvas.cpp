#include "platform/posix/TerminalCanvas.h"

namespace terminal {

namespace {

std::string Sgr(const Attr& a) {
  std::string s = "\x1b[0";
  if (a.bold) s += ";1";
  if (a.dim) s += ";2";
  if (a.underline) s += ";4";
  if (a.reverse) s += ";7";
  if (a.fg != 0) s += ";" + std::to_string(a.fg);
  if (a.bg != 0) s += ";" + std::to_string(a.bg);
  return s + "m";
}

}  // namespace

const BoxStyle& LightBox(platform::CodePage cp) {
  static const BoxStyle unicode{"─", "│", "┌", "┐", "└", "┘", "├", "┤"};
  static const BoxStyle ascii{"-", "|", "+", "+", "+", "+", "+", "+"};
  return cp == platform::CodePage::Utf8 ? unicode : ascii;
}

const BoxStyle& DoubleBox(platform::CodePage cp) {
  static const BoxStyle unicode{"═", "║", "╔", "╗", "╚", "╝", "╠", "╣"};
  static const BoxStyle ascii{"=", "|", "#", "#", "#", "#", "#", "#"};
  return cp == platform::CodePage::Utf8 ? unicode : ascii;
}

Glyph Plain(const char* bytes) {
  Glyph g;
  g.bytes = bytes;
  return g;
}

Canvas::Canvas(int rows, int cols)
    : m_rows(rows > 0 ? rows : 1),
      m_cols(cols > 0 ? cols : 1),
      m_clip{0, 0, m_cols, m_rows},
      m_cells(static_cast<std::size_t>(m_rows * m_cols)) {}

bool Canvas::Inside(int row, int col) const {
  return row >= 0 && row < m_rows && col >= 0 && col < m_cols && row >= m_clip.top &&
         row < m_clip.bottom && col >= m_clip.left && col < m_clip.right;
}

void Canvas::Put(int row, int col, const Glyph& g, const Attr& a) {
  if (!Inside(row, col)) return;
  Glyph shown = g;
  // A wide character that does not fit shows as a blank.
  if (g.width == 2 && !Inside(row, col + 1)) shown = Plain(" ");
  // Whatever this covers of a wide character leaves its other half blank.
  auto release = [&](int c) {
    if (c < 0 || c >= m_cols) return;
    Cell& cell = At(row, c);
    if (cell.width == 0 && c > 0) {
      At(row, c - 1).glyph = " ";
      At(row, c - 1).width = 1;
    } else if (cell.width == 2 && c + 1 < m_cols) {
      At(row, c + 1).glyph = " ";
      At(row, c + 1).width = 1;
    }
  };
  release(col);
  if (shown.width == 2) release(col + 1);
  Cell& cell = At(row, col);
  cell.glyph = shown.bytes;
  cell.width = shown.width;
  cell.attr = a;
  cell.attr.underline = a.underline || shown.underline;
  if (shown.width == 2) {
    Cell& right = At(row, col + 1);
    right.glyph.clear();
    right.width = 0;
    right.attr = cell.attr;
  }
}

int Canvas::PutLine(int row, int col, const GlyphLine& line, const Attr& a) {
  for (const Glyph& g : line) {
    Put(row, col, g, a);
    col += g.width;
  }
  return col;
}

void Canvas::Fill(const CellRect& r, const Attr& a) {
  for (int row = r.top; row < r.bottom; ++row)
    for (int col = r.left; col < r.right; ++col) Put(row, col, Plain(" "), a);
}

void Canvas::HLine(int row, int left, int right, const BoxStyle& s, const Attr& a, bool ends) {
  for (int col = left; col < right; ++col) Put(row, col, Plain(s.h), a);
  if (ends && right - left >= 2) {
    Put(row, left, Plain(s.ml), a);
    Put(row, right - 1, Plain(s.mr), a);
  }
}

void Canvas::Box(const CellRect& r, const BoxStyle& s, const Attr& a) {
  if (r.Width() < 2 || r.Height() < 2) return;
  HLine(r.top, r.left, r.right, s, a, false);
  HLine(r.bottom - 1, r.left, r.right, s, a, false);
  for (int row = r.top + 1; row < r.bottom - 1; ++row) {
    Put(row, r.left, Plain(s.v), a);
    Put(row, r.right - 1, Plain(s.v), a);
  }
  Put(r.top, r.left, Plain(s.tl), a);
  Put(r.top, r.right - 1, Plain(s.tr), a);
  Put(r.bottom - 1, r.left, Plain(s.bl), a);
  Put(r.bottom - 1, r.right - 1, Plain(s.br), a);
}

std::string Canvas::Render() const {
  std::string out;
  for (int row = 0; row < m_rows; ++row) {
    out += "\x1b[" + std::to_string(row + 1) + ";1H";
    Attr current;
    out += Sgr(current);
    for (int col = 0; col < m_cols; ++col) {
      const Cell& cell = At(row, col);
      if (cell.width == 0) continue;
      if (cell.attr != current) {
        current = cell.attr;
        out += Sgr(current);
      }
      out += cell.glyph;
    }
  }
  out += "\x1b[0m";
  return out;
}

}  // namespace terminal
