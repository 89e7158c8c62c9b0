#include "platform/graphics/ImageView.h"

#include <memory>

QImage ReadOnlyView(const QImage& image, int x, int y, int width, int height) {
  // A shallow copy shares image's pixels and holds them until the view ends.
  auto held = std::make_unique<QImage>(image);
  const uchar* first = held->constBits() + qsizetype(y) * held->bytesPerLine() + qsizetype(x) * 4;
  QImage view(first, width, height, held->bytesPerLine(), image.format(),
              [](void* pixels) { delete static_cast<QImage*>(pixels); }, held.get());
  if (!view.isNull()) held.release();
  return view;
}
