#include "platform/files/PictureDecoder.h"

#include <QFile>
#include <QFileInfo>
#include <new>

#include "platform/files/decode/MagickDecoder.h"
#include "platform/files/decode/PsdDecoder.h"
#include "platform/files/decode/QtDecoder.h"
#include "platform/files/decode/TurboJpegDecoder.h"
#include "platform/graphics/PictureImage.h"

namespace {
// Asked in this order until one decodes the file or refuses it.
constexpr Decoder kDecoders[] = {DecodeJpeg, DecodePsd, DecodeWithQt, DecodeWithMagick};
}  // namespace

Ref<Picture> DecodePictureFile(const std::string& path) {
  const QString file = QString::fromStdString(path);
  if (!QFileInfo(file).isFile()) return nullptr;
  QFile opened(file);
  if (!opened.open(QIODevice::ReadOnly)) return nullptr;
  const QByteArray head = opened.read(kHeadSize);
  opened.close();
  try {
    for (Decoder decode : kDecoders) {
      DecodeResult result = decode(file, head);
      if (result.outcome == DecodeResult::Outcome::kNotMine) continue;
      if (result.outcome == DecodeResult::Outcome::kRefused) return nullptr;
      return PictureFromImage(std::move(result.image), result.opaque);
    }
  } catch (const std::bad_alloc&) {
  }
  return nullptr;
}
