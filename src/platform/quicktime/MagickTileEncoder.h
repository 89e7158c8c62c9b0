#pragma once
// Inside the graphics exporter: formats written by GraphicsMagick (TARGA,
// SGI), with an alpha channel when the tile has a pixel that is not opaque.
#include <string>

#include "platform/quicktime/TileEncoder.h"

class MagickTileEncoder : public TileEncoder {
 public:
  // magick: GraphicsMagick's name of the format, "TGA" or "SGI".
  explicit MagickTileEncoder(std::string magick) : magick_(std::move(magick)) {}
  bool Save(const PictureImage& tile, const TilePath& path, std::string& error) override;

 private:
  std::string magick_;
};
