#include "platform/posix/TerminalLayout.h"

namespace terminal {

int ColumnOf(int x) { return (8 * x + 15) / 30; }  // x * 4/15, rounded

int RowOf(int y) { return (y + 4) / 8; }

CellRect ClientCells(const framework::DialogTemplate& t) {
  return CellRect{0, 0, ColumnOf(t.cx), RowOf(t.cy)};
}

bool HasBorder(const framework::ControlTemplate& c) {
  if (c.controlClass == framework::ControlClass::Static) return (c.style & framework::kSsSunken) != 0;
  const std::uint32_t type = c.style & framework::kBsTypeMask;
  return type == framework::kBsPushButton || type == framework::kBsDefPushButton;
}

CellRect ControlCells(const framework::ControlTemplate& c) {
  CellRect r{ColumnOf(c.x), RowOf(c.y), ColumnOf(c.x + c.cx), RowOf(c.y + c.cy)};
  if (r.Width() < 1) r.right = r.left + 1;
  if (r.Height() < 1) r.bottom = r.top + 1;
  if (HasBorder(c)) {
    const int textRow = r.Height() >= 3 ? r.top + 1 : r.top;
    if (r.top > textRow - 1) r.top = textRow - 1;
    if (r.bottom < textRow + 2) r.bottom = textRow + 2;
  }
  return r;
}

}  // namespace terminal
