#include "platform/files/decode/QtDecoder.h"

#include <QImageReader>

#include "platform/files/decode/Completeness.h"
#include "platform/graphics/PictureImage.h"

namespace {
// Qt's default limit (256 MB) would refuse large pictures. This one admits
// every picture of an allowed size even at 16 bits a channel, and still
// bounds a reader that cannot tell the size before it decodes.
constexpr int kAllocationLimitMiB =
    int((int64_t(kMaxPictureSide) * kMaxPictureSide * 8 >> 20) + 1);
}  // namespace

DecodeResult DecodeWithQt(const QString& path, QByteArrayView head) {
  QImageReader::setAllocationLimit(kAllocationLimitMiB);
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(true);
  if (!reader.canRead()) return DecodeResult::NotMine();
  const QSize size = reader.size();
  if (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)
    return DecodeResult::Refused();
  if (!HoldsWholePicture(reader.format(), path, head)) return DecodeResult::Refused();
  QImage image;
  // A reader that fails may have mistaken the format; another decoder may know it.
  if (!reader.read(&image)) return DecodeResult::NotMine();
  const bool opaque = !image.hasAlphaChannel();
  return DecodeResult::Decoded(std::move(image), opaque);
}
