#pragma once
// Inside the platform: the QImage behind a Picture.
#include <QImage>

#include "platform/graphics/Picture.h"

// The largest side a picture may have, in pixels.
inline constexpr int32_t kMaxPictureSide = 32767;

struct PictureImage {
  QImage image;             // Format_ARGB32, straight alpha
  bool opaque = false;      // every pixel has alpha 255
  bool blank = true;        // nothing drawn yet: every pixel is transparent 0
  uint32_t foreColor = 0;   // pen colour, 0xRRGGBB
};

// Wraps a decoded image (converted to ARGB32 if needed) as a Picture.
Ref<Picture> PictureFromImage(QImage image, bool opaque);
inline const QImage& ImageOf(const Picture& picture) { return picture.Image().image; }
