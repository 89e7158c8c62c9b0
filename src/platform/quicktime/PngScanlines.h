#pragma once
// Inside the graphics exporter: a tile's rows as PNG scanlines, 8-bit RGB or
// RGBA samples, each filtered and preceded by its filter type.
#include <QRgb>
#include <cstddef>
#include <cstdint>
#include <vector>

enum class PngFilter {
  kNone,
  kSub,
  kUp,
  kAverage,
  kPaeth,
  kMinimumSum,  // per row, the filter whose bytes, read as signed, have the least sum of magnitudes
};

class PngScanlines {
 public:
  explicit PngScanlines(PngFilter filter) : filter_(filter) {}

  // Bytes of one scanline: the filter type and the row's samples.
  static size_t Size(int width, bool alpha) { return 1 + size_t(width) * (alpha ? 4 : 3); }
  // Starts an image: the row above the first is zero.
  void Begin(int width, bool alpha);
  // Writes the next row's scanline, Size() bytes, at out.
  void Write(const QRgb* row, uint8_t* out);

 private:
  PngFilter filter_;
  int width_ = 0;
  int channels_ = 3;
  std::vector<uint8_t> previous_, current_;  // packed samples of the row above and of this row
  std::vector<uint8_t> candidate_;           // a scanline tried by kMinimumSum
};
