#pragma once
// Inside the graphics exporter: JPEG through libjpeg-turbo, row by row from
// the tile's pixels. Rows with transparent pixels are flattened onto white.
#include <QRgb>
#include <vector>

#include "platform/quicktime/JpegCompressor.h"
#include "platform/quicktime/JpegQuality.h"
#include "platform/quicktime/TileEncoder.h"

class JpegTileEncoder : public TileEncoder {
 public:
  bool Save(const PictureImage& tile, const TilePath& path, std::string& error) override;
  void SetQuality(int32_t quality) override { quality_ = quality; }

 private:
  JpegCompressor compressor_;
  std::vector<QRgb> flattened_;  // rows with transparent pixels, on white, while libjpeg reads them
  int32_t quality_ = kDefaultJpegCompressionQuality;
};
