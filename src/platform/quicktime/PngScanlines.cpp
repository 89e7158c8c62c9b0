#include "platform/quicktime/PngScanlines.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

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

uint8_t PaethPredictor(int left, int up, int upLeft) {
  const int toLeft = std::abs(up - upLeft);   // |p - left| for p = left + up - upLeft
  const int toUp = std::abs(left - upLeft);   // |p - up|
  const int toUpLeft = std::abs(left + up - 2 * upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return uint8_t(left);
  return uint8_t(toUp <= toUpLeft ? up : upLeft);
}

// The filtered bytes of row (n bytes, bpp bytes a pixel) under filter, with
// above the row before it; the first pixel's left neighbours are zero.
void Filter(PngFilter filter, const uint8_t* row, const uint8_t* above, size_t n, size_t bpp, uint8_t* out) {
  switch (filter) {
    case PngFilter::kNone:
      std::memcpy(out, row, n);
      return;
    case PngFilter::kSub:
      std::memcpy(out, row, bpp);
      for (size_t i = bpp; i < n; ++i) out[i] = uint8_t(row[i] - row[i - bpp]);
      return;
    case PngFilter::kUp:
      for (size_t i = 0; i < n; ++i) out[i] = uint8_t(row[i] - above[i]);
      return;
    case PngFilter::kAverage:
      for (size_t i = 0; i < bpp; ++i) out[i] = uint8_t(row[i] - above[i] / 2);
      for (size_t i = bpp; i < n; ++i) out[i] = uint8_t(row[i] - (row[i - bpp] + above[i]) / 2);
      return;
    case PngFilter::kPaeth:
      for (size_t i = 0; i < bpp; ++i) out[i] = uint8_t(row[i] - above[i]);
      for (size_t i = bpp; i < n; ++i)
        out[i] = uint8_t(row[i] - PaethPredictor(row[i - bpp], above[i], above[i - bpp]));
      return;
    case PngFilter::kMinimumSum:
      break;
  }
}

uint64_t SumOfMagnitudes(const uint8_t* bytes, size_t n) {
  uint64_t sum = 0;
  for (size_t i = 0; i < n; ++i) sum += uint8_t(std::abs(int(int8_t(bytes[i]))));
  return sum;
}
}  // namespace

void PngScanlines::Begin(int width, bool alpha) {
  width_ = width;
  channels_ = alpha ? 4 : 3;
  const size_t n = size_t(width) * size_t(channels_);
  previous_.assign(n, 0);
  current_.resize(n);
  if (filter_ == PngFilter::kMinimumSum) candidate_.resize(n);
}

void PngScanlines::Write(const QRgb* row, uint8_t* out) {
  Pack(row, width_, channels_ == 4, current_.data());
  const size_t n = current_.size(), bpp = size_t(channels_);
  PngFilter chosen = filter_;
  if (filter_ == PngFilter::kMinimumSum) {
    uint64_t least = UINT64_MAX;
    for (PngFilter tried : {PngFilter::kNone, PngFilter::kSub, PngFilter::kUp, PngFilter::kAverage, PngFilter::kPaeth}) {
      uint8_t* bytes = least == UINT64_MAX ? out + 1 : candidate_.data();
      Filter(tried, current_.data(), previous_.data(), n, bpp, bytes);
      const uint64_t sum = SumOfMagnitudes(bytes, n);
      if (sum >= least) continue;
      least = sum;
      chosen = tried;
      if (bytes != out + 1) std::memcpy(out + 1, bytes, n);
    }
  } else {
    Filter(chosen, current_.data(), previous_.data(), n, bpp, out + 1);
  }
  out[0] = uint8_t(chosen);
  std::swap(previous_, current_);
}
