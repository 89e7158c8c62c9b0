#pragma once
// Inside the graphics exporter: PNG through libspng, 8-bit RGB, or RGBA when
// the tile has a pixel that is not opaque.
#include "platform/quicktime/TileEncoder.h"

class PngTileEncoder : public TileEncoder {
 public:
  bool Save(const QImage& tile, const TilePath& path, std::string& error) override;
};
