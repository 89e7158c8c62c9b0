#include "platform/quicktime/BmpTileEncoder.h"

#include <QBuffer>
#include <QImageWriter>

#include "platform/graphics/PictureImage.h"
#include "platform/quicktime/TileFile.h"
#include "platform/quicktime/TilePixels.h"

bool BmpTileEncoder::Save(const PictureImage& tile, const TilePath& path, std::string& error) {
  FlattenOntoWhite(tile.image, flattened_);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "bmp");
  if (!writer.write(flattened_)) {
    error = "BMP: " + writer.errorString().toStdString();
    return false;
  }
  return ReplaceFileWith(path, bytes.constData(), size_t(bytes.size()), error);
}
