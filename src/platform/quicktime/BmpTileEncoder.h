#pragma once
// Inside the graphics exporter: 24-bit Windows bitmaps through Qt's writer,
// flattened onto white.
#include <QImage>

#include "platform/quicktime/TileEncoder.h"

class BmpTileEncoder : public TileEncoder {
 public:
  bool Save(const PictureImage& tile, const TilePath& path, std::string& error) override;

 private:
  QImage flattened_;  // reused from tile to tile
};
