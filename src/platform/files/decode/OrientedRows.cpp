#include "platform/files/decode/OrientedRows.h"

#include <algorithm>

namespace {
// Stored rows a turned picture gathers before writing them out as columns,
// so that each shown row takes that many neighbouring pixels at once.
constexpr int kBandRows = 32;

int Valid(int orientation) { return orientation >= 1 && orientation <= 8 ? orientation : 1; }
}  // namespace

bool OrientedRows::Turns(int orientation) { return orientation >= 5 && orientation <= 8; }

uint64_t OrientedRows::WorkingBytes(int64_t storedWidth, int orientation) {
  return Turns(orientation) ? uint64_t(storedWidth) * kBandRows * sizeof(QRgb) : 0;
}

OrientedRows::OrientedRows(QImage& picture, int orientation)
    : bits_(picture.bits()),
      stride_(picture.bytesPerLine()),
      orientation_(Valid(orientation)),
      storedWidth_(Turns(orientation_) ? picture.height() : picture.width()),
      storedHeight_(Turns(orientation_) ? picture.width() : picture.height()) {
  if (Turns(orientation_)) band_.resize(size_t(storedWidth_) * kBandRows);
}

int OrientedRows::Room(int y) const {
  if (!Turns(orientation_)) return storedHeight_ - y;
  return std::min(kBandRows - y % kBandRows, storedHeight_ - y);
}

QRgb* OrientedRows::Row(int y) {
  if (Turns(orientation_)) return band_.data() + size_t(y % kBandRows) * storedWidth_;
  const bool upsideDown = orientation_ == 3 || orientation_ == 4;
  return ShownRow(upsideDown ? storedHeight_ - 1 - y : y);
}

void OrientedRows::Place(int y, int count) {
  const int end = y + count;
  if (Turns(orientation_)) {
    if (end % kBandRows == 0 || end == storedHeight_) PlaceBandAsColumns(end);
  } else if (orientation_ == 2 || orientation_ == 3) {  // mirrored
    for (int row = y; row < end; ++row) {
      QRgb* pixels = Row(row);
      std::reverse(pixels, pixels + storedWidth_);
    }
  }
}

// Stored pixel (x, y) is shown in row x (5, 6) or width - 1 - x (7, 8), at
// column y (5, 8) or height - 1 - y (6, 7).
void OrientedRows::PlaceBandAsColumns(int end) {
  const int start = (end - 1) / kBandRows * kBandRows, rows = end - start;
  const bool bottomUp = orientation_ == 7 || orientation_ == 8;
  const bool rightToLeft = orientation_ == 6 || orientation_ == 7;
  for (int x = 0; x < storedWidth_; ++x) {
    QRgb* shown = ShownRow(bottomUp ? storedWidth_ - 1 - x : x);
    const QRgb* stored = band_.data() + x;
    if (rightToLeft) {
      QRgb* to = shown + (storedHeight_ - 1 - start);
      for (int r = 0; r < rows; ++r) to[-r] = stored[size_t(r) * storedWidth_];
    } else {
      QRgb* to = shown + start;
      for (int r = 0; r < rows; ++r) to[r] = stored[size_t(r) * storedWidth_];
    }
  }
}
