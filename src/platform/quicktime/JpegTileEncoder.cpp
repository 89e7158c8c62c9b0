#include "platform/quicktime/JpegTileEncoder.h"

#include "platform/graphics/PictureImage.h"
#include "platform/quicktime/TileFile.h"
#include "platform/quicktime/TilePixels.h"

bool JpegTileEncoder::Save(const PictureImage& tile, const std::string& path, std::string& error) {
  const QImage& pixels = tile.image;
  const int width = pixels.width();
  flattenedRow_.resize(size_t(width));
  auto rowAt = [&](int y) {
    const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
    if (tile.opaque || RowIsOpaque(row, width)) return row;
    FlattenRowOntoWhite(row, width, flattenedRow_.data());
    return static_cast<const QRgb*>(flattenedRow_.data());
  };
  const int quality = LibjpegQuality(quality_);
  if (!compressor_.Compress(width, pixels.height(), {quality, FullResolutionChroma(quality)}, rowAt, error))
    return false;
  const std::span<const uint8_t> file = compressor_.Output();
  return ReplaceFileWith(path, file.data(), file.size(), error);
}
