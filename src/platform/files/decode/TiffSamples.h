#pragma once
// Inside the platform: a TIFF's stored rows of samples made rows of ARGB32
// pixels: 16-bit samples rounded to 8 bits as each row comes, gray levels of
// fewer bits widened, associated alpha made straight, CMYK through Cmyk.h.
#include <QRgb>
#include <cstdint>
#include <vector>

#include "platform/files/decode/TiffLayout.h"

class TiffSamples {
 public:
  // The memory the conversion takes beside the picture.
  static uint64_t WorkingBytes(const TiffLayout& layout);

  explicit TiffSamples(const TiffLayout& layout);
  // Converts one stored row: planes[0] holds a row of contiguous samples, or
  // planes[s] the row of sample s when each has a plane.
  void Convert(const uint8_t* const* planes, QRgb* pixels);

 private:
  // The used samples of each pixel (colours, then alpha) as 8-bit levels,
  // straight.
  template <int kBits>
  void Gather(const uint8_t* const* planes);
  template <typename Pixel>
  void ForEachPixel(const uint8_t* levels, QRgb* pixels, Pixel pixel) const;

  const TiffLayout& layout_;
  int used_;  // samples a pixel: its colours and its alpha
  std::vector<uint8_t> levels_;
};
