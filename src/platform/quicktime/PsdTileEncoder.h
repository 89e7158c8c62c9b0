#pragma once
// Inside the graphics exporter: Photoshop files through FreeImage, RGB, or
// RGB with an alpha channel when the tile has a pixel that is not opaque.
#include "platform/quicktime/TileEncoder.h"

class PsdTileEncoder : public TileEncoder {
 public:
  bool Save(const PictureImage& tile, const TilePath& path, std::string& error) override;
};
