// Where the minimized update dialog draws its icon.
#include <gtest/gtest.h>

#include "ui/IconPlacement.h"

namespace {

TEST(UiIconPlacement, CentresWithDivisionTruncatingTowardZero) {
  struct Row {
    int width, height, cx, cy, x, y;
  };
  const Row rows[] = {
      {100, 50, 32, 32, 34, 9},
      {0, 0, 32, 32, -15, -15},   // -31 / 2: toward zero, not -16
      {32, 32, 32, 32, 0, 0},
      {33, 34, 32, 32, 1, 1},     // an odd remainder rounds up
      {1, 2, 32, 32, -15, -14},
      {160, 120, 48, 48, 56, 36},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.width) + "x" + std::to_string(r.height));
    const IconOrigin o = CenteredIconOrigin(r.width, r.height, r.cx, r.cy);
    EXPECT_EQ(o.x, r.x);
    EXPECT_EQ(o.y, r.y);
  }
}

}  // namespace
