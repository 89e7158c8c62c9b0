#include "platform/quicktime/PngScanlines.h"

#include <utility>

namespace {
// One row of ARGB32 pixels as PNG samples: R, G, B and, with alpha, A.
void Pack(const QRgb* pixels, int width, bool alpha, uint8_t* out) {
  for (int x = 0; x < width; ++x) {
    const QRgb pixel = pixels[x];
    *out++ = uint8_t(qRed(pixel));
    *out++ = uint8_t(qGreen(pixel));
    *out++ = uint8_t(qBlue(pixel));
    if (alpha) *out++ = uint8_t(qAlpha(pixel));
  }
}
}  // namespace

void PngAverageFilter(const uint8_t* row, const uint8_t* above, size_t n, size_t bpp, uint8_t* out) {
  constexpr uint8_t kAverage = 3;
  *out++ = kAverage;
  for (size_t i = 0; i < bpp; ++i) out[i] = uint8_t(row[i] - above[i] / 2);  // nothing to the left
  for (size_t i = bpp; i < n; ++i) out[i] = uint8_t(row[i] - (row[i - bpp] + above[i]) / 2);
}

void PngScanlines::Begin(int width, bool alpha) {
  width_ = width;
  channels_ = alpha ? 4 : 3;
  const size_t n = size_t(width) * size_t(channels_);
  previous_.assign(n, 0);
  current_.resize(n);
}

void PngScanlines::Write(const QRgb* row, uint8_t* out) {
  Pack(row, width_, channels_ == 4, current_.data());
  filter_(current_.data(), previous_.data(), current_.size(), size_t(channels_), out);
  std::swap(previous_, current_);
}
