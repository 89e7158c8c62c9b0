#pragma once
// Inside the graphics exporter: PNG, 8-bit RGB, or RGBA when the tile has a
// pixel that is not opaque, compressed by libdeflate.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/quicktime/PngScanlines.h"
#include "platform/quicktime/TileEncoder.h"

struct libdeflate_compressor;

class PngTileEncoder : public TileEncoder {
 public:
  PngTileEncoder();
  ~PngTileEncoder() override;
  bool Save(const PictureImage& tile, const TilePath& path, std::string& error) override;

 private:
  struct CompressorDeleter {
    void operator()(libdeflate_compressor* compressor) const;
  };
  std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor_;
  PngScanlines scanlines_;
  // Kept from tile to tile: the filtered scanlines, their zlib stream, the file.
  std::vector<uint8_t> filtered_, deflated_, file_;
};
