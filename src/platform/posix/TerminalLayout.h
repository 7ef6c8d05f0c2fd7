// Dialog units to character cells. A cell is 15/4 dialog units wide and 8
// high: the height is one character, as on Windows; the width is a little
// under one average character, so that a control sized for a proportional
// font holds as many monospaced characters as it shows there (a 75-unit
// field holds a 20-character version stamp). Template 102, 351 x 161
// units, becomes 94 x 20 cells, 96 x 22 with its frame.
#pragma once

#include "platform/Dialog.h"

namespace terminal {

struct CellRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// Columns and rows of a position in dialog units, rounded to the nearest.
int ColumnOf(int x);
int RowOf(int y);

// Client area of a dialog, without the frame.
CellRect ClientCells(const framework::DialogTemplate& t);

// Whether a control is drawn with a border of its own: sunken statics and
// push buttons.
bool HasBorder(const framework::ControlTemplate& c);

// A control in client cells. A bordered control gets at least three rows
// (border, text, border); its first row of text stays where the control
// begins and the top border moves up.
CellRect ControlCells(const framework::ControlTemplate& c);

}  // namespace terminal
