#include "platform/quicktime/JpegTileEncoder.h"

#include "platform/graphics/PictureImage.h"
#include "platform/quicktime/TileFile.h"
#include "platform/quicktime/TilePixels.h"

bool JpegTileEncoder::Save(const PictureImage& tile, const TilePath& path, std::string& error) {
  const QImage& pixels = tile.image;
  const int width = pixels.width();
  flattened_.resize(size_t(width) * JpegCompressor::kRowsAtOnce);
  auto rowsAt = [&](int y, int count, const QRgb** rows) {
    for (int i = 0; i < count; ++i) {
      rows[i] = reinterpret_cast<const QRgb*>(pixels.constScanLine(y + i));
      if (tile.opaque || RowIsOpaque(rows[i], width)) continue;
      QRgb* onWhite = flattened_.data() + size_t(i) * size_t(width);
      FlattenRowOntoWhite(rows[i], width, onWhite);
      rows[i] = onWhite;
    }
  };
  const int quality = LibjpegQuality(quality_);
  if (!compressor_.Compress(width, pixels.height(), {quality, FullResolutionChroma(quality)}, rowsAt, error))
    return false;
  const std::span<const uint8_t> file = compressor_.Output();
  return ReplaceFileWith(path, file.data(), file.size(), error);
}
