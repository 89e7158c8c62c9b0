#include "platform/files/decode/FillOutside.h"

#include <algorithm>

void FillOutside(QImage& image, const QRect& area, QRgb colour) {
  const QRect inside = area & image.rect();
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    if (inside.isEmpty() || y < inside.top() || y > inside.bottom()) {
      std::fill(row, row + image.width(), colour);
    } else {
      std::fill(row, row + inside.left(), colour);
      std::fill(row + inside.right() + 1, row + image.width(), colour);
    }
  }
}
