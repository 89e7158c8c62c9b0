#pragma once
// Inside the graphics exporter: JPEG through TurboJPEG, straight from the
// tile's pixels. Transparent pixels are flattened onto white.
#include <QImage>
#include <turbojpeg.h>

#include <vector>

#include "platform/quicktime/JpegQuality.h"
#include "platform/quicktime/TileEncoder.h"

class JpegTileEncoder : public TileEncoder {
 public:
  JpegTileEncoder() = default;
  JpegTileEncoder(const JpegTileEncoder&) = delete;
  JpegTileEncoder& operator=(const JpegTileEncoder&) = delete;
  ~JpegTileEncoder() override;

  bool Save(const QImage& tile, const TilePath& path, std::string& error) override;
  void SetQuality(int32_t quality) override { quality_ = quality; }

 private:
  tjhandle compressor_ = nullptr;      // made on the first save, kept for all tiles
  std::vector<unsigned char> output_;  // grows to the largest tile's worst case
  QImage flattened_;                   // the last non-opaque tile on white
  int32_t quality_ = kDefaultJpegCompressionQuality;
};
