#include "ui/IconPlacement.h"

IconOrigin CenteredIconOrigin(int width, int height, int cx, int cy) {
  return IconOrigin{(width - cx + 1) / 2, (height - cy + 1) / 2};
}
