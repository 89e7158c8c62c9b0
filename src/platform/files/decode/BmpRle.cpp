#include "platform/files/decode/BmpRle.h"

#include <algorithm>

#include "platform/files/decode/ByteCursor.h"

namespace {

// Where the next pixel goes, in the rows as stored; what lies past the
// picture is dropped.
class Pen {
 public:
  Pen(QImage& image, bool topDown, QRgb skipped)
      : image_(image), topDown_(topDown), skipped_(skipped) {
    Select(0);
  }

  void Put(QRgb colour) {
    if (row_ && x_ < image_.width()) row_[x_] = colour;
    ++x_;
  }
  // Moves to (x, rows stored down), giving the pixels passed the skipped
  // colour.
  void MoveTo(int64_t x, int64_t stored) {
    for (; stored_ < stored && row_; Select(stored_ + 1)) Skip(image_.width());
    Skip(x);
    stored_ = stored;
    x_ = x;
  }
  int64_t X() const { return x_; }
  int64_t Stored() const { return stored_; }
  bool RowDone() const { return x_ >= image_.width(); }

 private:
  void Select(int64_t stored) {
    stored_ = stored;
    x_ = 0;
    const int64_t height = image_.height();
    row_ = stored < height ? reinterpret_cast<QRgb*>(image_.scanLine(
                                 int(topDown_ ? stored : height - 1 - stored)))
                           : nullptr;
  }
  // The pen may stand past the row's end (runs and deltas reach beyond the
  // width): only the pixels of the row up to `to` are filled.
  void Skip(int64_t to) {
    const int64_t end = std::min<int64_t>(to, image_.width());
    if (row_ && x_ < end) std::fill(row_ + x_, row_ + end, skipped_);
  }

  QImage& image_;
  bool topDown_;
  QRgb skipped_;
  QRgb* row_ = nullptr;
  int64_t x_ = 0, stored_ = 0;
};

// The index of pixel i of a run: a byte each, or alternate halves of a byte.
uint8_t Index(const uint8_t* bytes, int bitsPerPixel, uint32_t i) {
  if (bitsPerPixel == 8) return bytes[i];
  return i % 2 ? bytes[i / 2] & 0x0F : bytes[i / 2] >> 4;
}

}  // namespace

uint64_t LeastRleBytes(int64_t height) { return uint64_t(height - 1) * 4 / 255; }

bool DecodeBmpRle(std::span<const uint8_t> data, int bitsPerPixel, bool topDown,
                  const QRgb* palette, QImage& image) {
  const int64_t height = image.height();
  Pen pen(image, topDown, palette[0]);
  ByteCursor in(data);
  for (;;) {
    const uint8_t* pair = in.Take(2);
    // Data that stops without its end of bitmap must have filled every row.
    if (!pair) return pen.Stored() >= height || (pen.Stored() == height - 1 && pen.RowDone());
    const uint32_t count = pair[0], value = pair[1];
    if (count > 0) {  // a run of one index (of two, alternating, in RLE4)
      const QRgb even = palette[bitsPerPixel == 8 ? value : value >> 4];
      const QRgb odd = palette[bitsPerPixel == 8 ? value : value & 0x0F];
      for (uint32_t i = 0; i < count; ++i) pen.Put(i % 2 ? odd : even);
    } else if (value == 0) {  // end of line
      pen.MoveTo(0, pen.Stored() + 1);
    } else if (value == 1) {  // end of bitmap
      if (pen.Stored() < height - 1) return false;
      pen.MoveTo(0, height);
      return true;
    } else if (value == 2) {  // delta: right, then down
      const uint8_t* delta = in.Take(2);
      if (!delta) return false;
      pen.MoveTo(pen.X() + delta[0], pen.Stored() + delta[1]);
    } else {  // that many indices as they are, padded to 16 bits
      const uint64_t bytes = bitsPerPixel == 8 ? value : (value + 1) / 2;
      const uint8_t* indices = in.Take((bytes + 1) / 2 * 2);
      if (!indices) return false;
      for (uint32_t i = 0; i < value; ++i) pen.Put(palette[Index(indices, bitsPerPixel, i)]);
    }
  }
}
