#include "platform/files/decode/JpegReader.h"

#include <turbojpeg.h>

#include <QBuffer>
#include <QImageIOHandler>
#include <QImageReader>
#include <QTransform>
#include <memory>

#include "platform/files/decode/Cmyk.h"
#include "platform/files/decode/Signature.h"

namespace {

// TurboJPEG's byte order that reads as QImage::Format_ARGB32.
constexpr int kPixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRA : TJPF_ARGB;

// A warning (such as a premature end of the data) means a damaged file: stop
// at once and give no picture. A pathological number of progressive scans
// is refused too.
constexpr int kFlags = TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;

// The EXIF orientation, read from the headers without decoding any pixel.
QImageIOHandler::Transformations ReadOrientation(const QByteArray& data) {
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "jpeg");
  return reader.transformation();
}

// Applies the orientation as Qt's reader does: mirror and flip, then a
// quarter turn clockwise.
void ApplyOrientation(QImage& image, QImageIOHandler::Transformations orientation) {
  const bool mirror = orientation & QImageIOHandler::TransformationMirror;
  const bool flip = orientation & QImageIOHandler::TransformationFlip;
  if (mirror || flip) image = std::move(image).mirrored(mirror, flip);
  if (orientation & QImageIOHandler::TransformationRotate90)
    image = image.transformed(QTransform().rotate(90));
}

// CMYK (and YCCK) comes out as stored, inverted as Adobe writes it.
void CmykToArgb(QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    uchar* line = image.scanLine(y);
    for (int x = 0; x < image.width(); ++x) {
      const uchar* cmyk = line + 4 * x;
      reinterpret_cast<QRgb*>(line)[x] = RgbOfInvertedCmyk(cmyk[0], cmyk[1], cmyk[2], cmyk[3]);
    }
  }
}

}  // namespace

bool IsJpeg(const EncodedFile& file) { return HasBytesAt(file.Bytes(), 0, "\xFF\xD8\xFF"); }

DecodeResult ReadJpeg(const EncodedFile& file, PictureMemory& memory) {
  std::unique_ptr<void, int (*)(tjhandle)> decompressor(tjInitDecompress(), tjDestroy);
  if (!decompressor) return DecodeResult::Refused();
  const auto* jpeg = file.Bytes().data();
  const auto size = static_cast<unsigned long>(file.Bytes().size());
  int width = 0, height = 0, subsampling = 0, colorspace = 0;
  if (tjDecompressHeader3(decompressor.get(), jpeg, size, &width, &height, &subsampling,
                          &colorspace) != 0)
    return DecodeResult::Refused();
  const bool cmyk = colorspace == TJCS_CMYK || colorspace == TJCS_YCCK;

  const QImageIOHandler::Transformations orientation = ReadOrientation(
      QByteArray::fromRawData(reinterpret_cast<const char*>(jpeg), qsizetype(size)));
  // A quarter turn needs a second copy of the picture.
  const uint64_t turnBytes =
      orientation & QImageIOHandler::TransformationRotate90 ? uint64_t(width) * height * 4 : 0;
  QImage image = memory.Take(width, height, turnBytes);
  if (image.isNull()) return DecodeResult::Refused();
  const int pixelFormat = cmyk ? TJPF_CMYK : kPixelFormat;
  if (tjDecompress2(decompressor.get(), jpeg, size, image.bits(), width,
                    static_cast<int>(image.bytesPerLine()), height, pixelFormat, kFlags) != 0)
    return DecodeResult::Refused();
  if (cmyk) CmykToArgb(image);
  ApplyOrientation(image, orientation);
  return DecodeResult::Decoded(std::move(image), true);
}
