#include "platform/files/decode/QtImageReader.h"

#include <QBuffer>
#include <QImageReader>

namespace {
// Qt's own limit (256 MB) would refuse large pictures; the picture's memory
// is checked against what the process can have before Qt reads it.
constexpr int kNoAllocationLimit = 0;
}  // namespace

DecodeResult ReadWithQt(const EncodedFile& file, PictureMemory& memory, const char* format) {
  const std::span<const uint8_t> bytes = file.Bytes();
  const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                  qsizetype(bytes.size()));
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader::setAllocationLimit(kNoAllocationLimit);
  QImageReader reader(&buffer, format);
  reader.setDecideFormatFromContent(false);
  reader.setAutoTransform(true);
  if (!reader.canRead()) return DecodeResult::Refused();
  const QSize size = reader.size();
  // Qt may decode into a wider format (16 bits a channel) and convert.
  if (!memory.Admit(size.width(), size.height(), uint64_t(size.width()) * size.height() * 8))
    return DecodeResult::Refused();
  QImage image;
  if (!reader.read(&image)) return DecodeResult::Refused();
  const bool opaque = !image.hasAlphaChannel();
  image.convertTo(QImage::Format_ARGB32);
  return DecodeResult::Decoded(std::move(image), opaque);
}
