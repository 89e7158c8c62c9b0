#pragma once
// Inside the graphics exporter: 24-bit Windows bitmaps through Qt's writer,
// flattened onto white, of at most 2 GB.
#include <QImage>

#include "platform/quicktime/TileEncoder.h"

class BmpTileEncoder : public TileEncoder {
 public:
  bool Save(const PictureImage& tile, const TilePath& path, std::string& error) override;
  std::string TileSizeProblem(int32_t width, int32_t height) const override;

 private:
  QImage flattened_;  // reused from tile to tile
};
