// Where the icon of a minimized window goes: centred in the client area.
#pragma once

struct IconOrigin {
  int x;
  int y;
};

// (width - cx + 1) / 2 and (height - cy + 1) / 2 in signed arithmetic, the
// division truncating toward zero: a 0 x 0 client area with a 32 x 32 icon
// gives -15, -15.
IconOrigin CenteredIconOrigin(int width, int height, int cx, int cy);
