#pragma once
// Inside the graphics exporter: a tile's rows as PNG scanlines, 8-bit RGB or
// RGBA samples, each filtered and preceded by its filter type.
#include <QRgb>
#include <cstddef>
#include <cstdint>
#include <vector>

// Filters a row of n bytes, bpp bytes a pixel, against the row above it:
// writes the filter type, then the n filtered bytes, at out.
using PngRowFilter = void (*)(const uint8_t* row, const uint8_t* above, size_t n, size_t bpp, uint8_t* out);

// The Average filter: each byte less the mean of the bytes to its left and
// above it.
void PngAverageFilter(const uint8_t* row, const uint8_t* above, size_t n, size_t bpp, uint8_t* out);

class PngScanlines {
 public:
  explicit PngScanlines(PngRowFilter filter = PngAverageFilter) : filter_(filter) {}

  // Bytes of one scanline: the filter type and the row's samples.
  static size_t Size(int width, bool alpha) { return 1 + size_t(width) * (alpha ? 4 : 3); }
  // Starts an image: the row above the first is zero.
  void Begin(int width, bool alpha);
  // Writes the next row's scanline, Size() bytes, at out.
  void Write(const QRgb* row, uint8_t* out);

 private:
  PngRowFilter filter_;
  int width_ = 0;
  int channels_ = 3;
  std::vector<uint8_t> previous_, current_;  // packed samples of the row above and of this row
};
