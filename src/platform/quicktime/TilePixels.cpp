#include "platform/quicktime/TilePixels.h"

#include <cstdint>

#include "platform/graphics/PictureImage.h"

namespace {
constexpr uint32_t kOpaque = 0xFF000000u;

// The AND of a row's pixels; its alpha byte is 0xFF only when every pixel is
// opaque. Blocks of eight let the compiler use vector instructions.
uint32_t AndOfPixels(const uint32_t* pixels, int count) {
  constexpr int kBlock = 8;
  uint32_t lanes[kBlock] = {~0u, ~0u, ~0u, ~0u, ~0u, ~0u, ~0u, ~0u};
  int x = 0;
  for (; x + kBlock <= count; x += kBlock)
    for (int lane = 0; lane < kBlock; ++lane) lanes[lane] &= pixels[x + lane];
  uint32_t all = ~0u;
  for (uint32_t lane : lanes) all &= lane;
  for (; x < count; ++x) all &= pixels[x];
  return all;
}

// A pixel composed onto white: each channel c * a / 255 + 255 - a, rounded.
QRgb OnWhite(QRgb pixel) {
  const uint32_t alpha = qAlpha(pixel);
  if (alpha == 255) return pixel;
  if (alpha == 0) return 0xFFFFFFFFu;
  const uint32_t white = 255 * (255 - alpha) + 127;
  return qRgb(int((qRed(pixel) * alpha + white) / 255), int((qGreen(pixel) * alpha + white) / 255),
              int((qBlue(pixel) * alpha + white) / 255));
}
}  // namespace

bool RowIsOpaque(const QRgb* row, int width) { return (AndOfPixels(row, width) & kOpaque) == kOpaque; }

bool HasTransparentPixel(const PictureImage& tile) {
  if (tile.opaque) return false;
  const QImage& image = tile.image;
  for (int y = 0; y < image.height(); ++y)
    if (!RowIsOpaque(reinterpret_cast<const QRgb*>(image.constScanLine(y)), image.width())) return true;
  return false;
}

void FlattenRowOntoWhite(const QRgb* row, int width, QRgb* into) {
  for (int x = 0; x < width; ++x) into[x] = OnWhite(row[x]);
}

void FlattenOntoWhite(const QImage& image, QImage& into) {
  if (into.size() != image.size() || into.format() != QImage::Format_RGB32)
    into = QImage(image.size(), QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    FlattenRowOntoWhite(reinterpret_cast<const QRgb*>(image.constScanLine(y)), image.width(),
                        reinterpret_cast<QRgb*>(into.scanLine(y)));
}
