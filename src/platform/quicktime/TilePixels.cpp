#include "platform/quicktime/TilePixels.h"

#include <cstdint>

bool HasTransparentPixel(const QImage& image) {
  const int width = image.width();
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    uint32_t all = 0xFFFFFFFFu;
    for (int x = 0; x < width; ++x) all &= row[x];
    if ((all >> 24) != 0xFFu) return true;
  }
  return false;
}

void FlattenOntoWhite(const QImage& image, QImage& into) {
  if (into.size() != image.size() || into.format() != QImage::Format_RGB32)
    into = QImage(image.size(), QImage::Format_RGB32);
  const int width = image.width();
  for (int y = 0; y < image.height(); ++y) {
    const auto* source = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    auto* target = reinterpret_cast<QRgb*>(into.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const QRgb pixel = source[x];
      const int alpha = qAlpha(pixel);
      const int white = 255 * (255 - alpha) + 127;
      target[x] = qRgb((qRed(pixel) * alpha + white) / 255, (qGreen(pixel) * alpha + white) / 255,
                       (qBlue(pixel) * alpha + white) / 255);
    }
  }
}
