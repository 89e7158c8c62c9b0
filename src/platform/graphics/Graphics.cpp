#include "platform/graphics/Graphics.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/graphics/AreaAverage.h"
#include "platform/graphics/ImageView.h"
#include "platform/graphics/Picture.h"
#include "platform/graphics/PictureImage.h"

const ClassRecord* Graphics::Lookup_() {
  static const ClassRecord* record =
      RuntimeRegisterClass({.name = "Graphics", .superclass = &Object::Lookup_});
  return record;
}

Graphics::Graphics(Ref<Picture> target) : target_(NotNil(target)) {}

namespace {

// An ARGB32 pixel of straight alpha, as a 32-bit value 0xAARRGGBB.
using Pixel = uint32_t;

// Rows of a picture's pixels. Takes the buffer once: QImage::bits() checks
// for sharing on every call.
class Rows {
 public:
  explicit Rows(QImage& image) : bits_(image.bits()), stride_(image.bytesPerLine()) {}
  Pixel* operator[](int64_t y) const { return reinterpret_cast<Pixel*>(bits_ + y * stride_); }

 private:
  uchar* bits_;
  qsizetype stride_;
};

const Pixel* Row(const QImage& image, int64_t y) {
  return reinterpret_cast<const Pixel*>(image.constBits() + y * image.bytesPerLine());
}

// Source over destination, both straight alpha. A destination pixel that is
// fully transparent takes the source pixel unchanged.
Pixel Over(Pixel source, Pixel destination) {
  const uint32_t sa = source >> 24;
  const uint32_t da = destination >> 24;
  if (sa == 255 || da == 0) return source;
  if (sa == 0) return destination;
  // Weights scaled by 255: the source's sa * 255, the destination's da * (255 - sa).
  const uint32_t sw = sa * 255;
  const uint32_t dw = da * (255 - sa);
  const uint32_t total = sw + dw;
  Pixel result = ((total + 127) / 255) << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t s = (source >> shift) & 0xFF;
    const uint32_t d = (destination >> shift) & 0xFF;
    result |= ((s * sw + d * dw + total / 2) / total) << shift;
  }
  return result;
}

// Draws width x height pixels of source, from (sourceX, sourceY), with their
// top-left corner at (x, y) of the target, clipped to the target.
void Compose(PictureImage& target, int64_t x, int64_t y, const QImage& source, int64_t sourceX,
             int64_t sourceY, int64_t width, int64_t height, bool sourceOpaque) {
  QImage& image = target.image;
  if (x < 0) { sourceX -= x; width += x; x = 0; }
  if (y < 0) { sourceY -= y; height += y; y = 0; }
  width = std::min<int64_t>(width, image.width() - x);
  height = std::min<int64_t>(height, image.height() - y);
  if (width <= 0 || height <= 0) return;

  // Onto a blank picture, or with an opaque source, source over is the source.
  const bool copy = target.blank || sourceOpaque;
  const Rows rows(image);
  for (int64_t row = 0; row < height; ++row) {
    const Pixel* from = Row(source, sourceY + row) + sourceX;
    Pixel* to = rows[y + row] + x;
    if (copy)
      std::memcpy(to, from, size_t(width) * sizeof(Pixel));
    else
      for (int64_t i = 0; i < width; ++i) to[i] = Over(from[i], to[i]);
  }
  const bool coversAll = x == 0 && y == 0 && width == image.width() && height == image.height();
  target.opaque = target.opaque || (sourceOpaque && coversAll);
  target.blank = false;
}

// Where a scaled draw puts its source rectangle: the corner and the scale.
struct Mapping {
  double scaleX, scaleY;  // destination pixels per source pixel
  int64_t x, y;           // destination of the source rectangle's corner
  int64_t sourceX, sourceY;
};

// Continuous destination position of source column (or row) s.
double Place(int64_t s, int64_t origin, int64_t sourceOrigin, double scale) {
  return double(origin) + double(s - sourceOrigin) * scale;
}

// Draws source[sx0, sx1) x [sy0, sy1), a part of the picture, scaled by the
// mapping. Only the source columns and rows that land on the target are
// scaled, averaging areas.
void ComposeScaled(PictureImage& target, const QImage& source, bool sourceOpaque,
                   const Mapping& m, int64_t sx0, int64_t sy0, int64_t sx1, int64_t sy1) {
  const double left = std::max(Place(sx0, m.x, m.sourceX, m.scaleX), 0.0);
  const double right = std::min(Place(sx1, m.x, m.sourceX, m.scaleX), double(target.image.width()));
  const double top = std::max(Place(sy0, m.y, m.sourceY, m.scaleY), 0.0);
  const double bottom = std::min(Place(sy1, m.y, m.sourceY, m.scaleY), double(target.image.height()));
  if (left >= right || top >= bottom) return;
  sx0 = std::max(sx0, m.sourceX + int64_t(std::floor((left - double(m.x)) / m.scaleX)));
  sx1 = std::min(sx1, m.sourceX + int64_t(std::ceil((right - double(m.x)) / m.scaleX)));
  sy0 = std::max(sy0, m.sourceY + int64_t(std::floor((top - double(m.y)) / m.scaleY)));
  sy1 = std::min(sy1, m.sourceY + int64_t(std::ceil((bottom - double(m.y)) / m.scaleY)));
  const int64_t dx0 = std::llround(Place(sx0, m.x, m.sourceX, m.scaleX));
  const int64_t dx1 = std::llround(Place(sx1, m.x, m.sourceX, m.scaleX));
  const int64_t dy0 = std::llround(Place(sy0, m.y, m.sourceY, m.scaleY));
  const int64_t dy1 = std::llround(Place(sy1, m.y, m.sourceY, m.scaleY));
  if (dx1 <= dx0 || dy1 <= dy0) return;

  // The part is read in place, never copied whole. Qt's smooth scaling reads
  // an opaque source as RGB32 without a copy; with transparency it would
  // first make a premultiplied copy, so a picture with transparency scaled
  // down is averaged here.
  const int partWidth = int(sx1 - sx0), partHeight = int(sy1 - sy0);
  const int width = int(dx1 - dx0), height = int(dy1 - dy0);
  QImage scaled;
  if (!sourceOpaque && width <= partWidth && height <= partHeight) {
    scaled = AreaAverage(source, int(sx0), int(sy0), partWidth, partHeight, width, height);
  } else {
    const QImage part(source.constBits() + sy0 * source.bytesPerLine() + sx0 * sizeof(Pixel),
                      partWidth, partHeight, source.bytesPerLine(),
                      sourceOpaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    scaled = part.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.convertTo(QImage::Format_ARGB32);
  }
  if (scaled.isNull()) throw OutOfMemoryException("Not enough memory to scale a picture.");
  Compose(target, dx0, dy0, scaled, 0, 0, scaled.width(), scaled.height(), sourceOpaque);
}

}  // namespace

void Graphics::ForeColor(int32_t rgb) { target_->Image().foreColor = uint32_t(rgb) & 0xFFFFFF; }

int32_t Graphics::ForeColor() const { return int32_t(target_->Image().foreColor); }

void Graphics::FillRect(int32_t x, int32_t y, int32_t width, int32_t height) {
  PictureImage& target = target_->Image();
  QImage& image = target.image;
  const int64_t x0 = std::max<int64_t>(x, 0);
  const int64_t y0 = std::max<int64_t>(y, 0);
  const int64_t x1 = std::min<int64_t>(int64_t(x) + width, image.width());
  const int64_t y1 = std::min<int64_t>(int64_t(y) + height, image.height());
  if (x0 >= x1 || y0 >= y1) return;
  const Pixel pen = 0xFF000000u | target.foreColor;
  const Rows rows(image);
  for (int64_t row = y0; row < y1; ++row) std::fill(rows[row] + x0, rows[row] + x1, pen);
  const bool coversAll = x0 == 0 && y0 == 0 && x1 == image.width() && y1 == image.height();
  target.opaque = target.opaque || coversAll;
  target.blank = false;
}

void Graphics::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  PictureImage& target = target_->Image();
  QImage& image = target.image;
  const int64_t w = image.width(), h = image.height();
  const Pixel pen = 0xFF000000u | target.foreColor;

  // A grid refresh draws many thousands of these: written directly.
  if (y1 == y2 || x1 == x2) {
    const int64_t xa = std::max<int64_t>(std::min(x1, x2), 0);
    const int64_t xb = std::min<int64_t>(std::max(x1, x2), w - 1);
    const int64_t ya = std::max<int64_t>(std::min(y1, y2), 0);
    const int64_t yb = std::min<int64_t>(std::max(y1, y2), h - 1);
    if (xa > xb || ya > yb) return;
    const Rows rows(image);
    for (int64_t row = ya; row <= yb; ++row) std::fill(rows[row] + xa, rows[row] + xb + 1, pen);
    target.blank = false;
    return;
  }

  // Any other line: the pixel nearest the line in each step along its longer
  // axis (Bresenham's choice), computed only for the steps inside the picture.
  // Coordinates this far out change nothing visible and keep the products below
  // in 64 bits.
  auto limit = [](int32_t v) {
    constexpr int64_t far = int64_t(1) << 29;
    return std::clamp<int64_t>(v, -far, far);
  };
  const int64_t ax = limit(x1), ay = limit(y1), bx = limit(x2), by = limit(y2);
  const bool xMajor = std::abs(bx - ax) >= std::abs(by - ay);
  // (u, v): the major and the minor coordinate.
  const int64_t u0 = xMajor ? ax : ay, v0 = xMajor ? ay : ax;
  const int64_t du = (xMajor ? bx : by) - u0, dv = (xMajor ? by : bx) - v0;
  const int64_t uSize = xMajor ? w : h, vSize = xMajor ? h : w;
  const int64_t su = du > 0 ? 1 : -1, sv = dv > 0 ? 1 : -1;
  const int64_t n = std::abs(du), m = std::abs(dv);
  // Steps i in [0, n] whose major coordinate u0 + su * i lies in [0, uSize).
  const int64_t first = std::max<int64_t>(0, su > 0 ? -u0 : u0 - (uSize - 1));
  const int64_t last = std::min<int64_t>(n, su > 0 ? uSize - 1 - u0 : u0);
  bool drawn = false;
  const Rows rows(image);
  for (int64_t i = first; i <= last; ++i) {
    const int64_t u = u0 + su * i;
    const int64_t v = v0 + sv * ((2 * i * m + n) / (2 * n));
    if (v < 0 || v >= vSize) continue;
    rows[xMajor ? v : u][xMajor ? u : v] = pen;
    drawn = true;
  }
  if (drawn) target.blank = false;
}

void Graphics::DrawPicture(const Ref<Picture>& picture, int32_t x, int32_t y, int32_t width,
                           int32_t height, int32_t sourceX, int32_t sourceY, int32_t sourceWidth,
                           int32_t sourceHeight) {
  const Picture& sourcePicture = *NotNil(picture);
  // Drawing a picture into itself reads from a copy taken first.
  const QImage source = picture == target_ ? ImageOf(sourcePicture).copy() : QImage();
  const QImage& from = picture == target_ ? source : ImageOf(sourcePicture);
  const bool sourceOpaque = sourcePicture.Image().opaque;

  const int64_t sw = sourceWidth == kNotGiven ? from.width() : sourceWidth;
  const int64_t sh = sourceHeight == kNotGiven ? from.height() : sourceHeight;
  const int64_t dw = width == kNotGiven ? sw : width;
  const int64_t dh = height == kNotGiven ? sh : height;
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;

  // The part of the source rectangle inside the source picture.
  const int64_t sx0 = std::max<int64_t>(sourceX, 0);
  const int64_t sy0 = std::max<int64_t>(sourceY, 0);
  const int64_t sx1 = std::min<int64_t>(sourceX + sw, from.width());
  const int64_t sy1 = std::min<int64_t>(sourceY + sh, from.height());
  if (sx0 >= sx1 || sy0 >= sy1) return;

  PictureImage& target = target_->Image();
  if (dw != sw || dh != sh) {
    const Mapping mapping{double(dw) / double(sw), double(dh) / double(sh), x, y, sourceX, sourceY};
    ComposeScaled(target, from, sourceOpaque, mapping, sx0, sy0, sx1, sy1);
    return;
  }
  // A rectangle wholly inside the source, drawn over the whole of a blank
  // picture of its size, makes the picture a view of the source's rows.
  const bool wholeRectangle = sx0 == sourceX && sy0 == sourceY && sx1 - sx0 == sw && sy1 - sy0 == sh;
  const bool ontoWholeBlank = target.blank && x == 0 && y == 0 && sw == target.image.width() &&
                              sh == target.image.height();
  if (wholeRectangle && ontoWholeBlank && picture != target_) {
    QImage view = ReadOnlyView(from, int(sx0), int(sy0), int(sw), int(sh));
    if (!view.isNull()) {
      target.image = std::move(view);
      target.opaque = sourceOpaque;
      target.blank = false;
      return;
    }
  }
  Compose(target, int64_t(x) + (sx0 - sourceX), int64_t(y) + (sy0 - sourceY), from, sx0, sy0,
          sx1 - sx0, sy1 - sy0, sourceOpaque);
}
