#pragma once
// Inside the graphics exporter: one encoder per exporter, which writes a tile
// picture to a file in its format.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/quicktime/TilePath.h"

struct PictureImage;

class TileEncoder {
 public:
  virtual ~TileEncoder() = default;
  // Writes the tile (Format_ARGB32, straight alpha; its rows may lie inside a
  // larger picture's) to the file at path, a name in an open folder (through
  // ReplaceFileWith). On failure the file is left as it was and error says why.
  virtual bool Save(const PictureImage& tile, const TilePath& path, std::string& error) = 0;
  // The compression quality, 0 .. 1024; formats without one ignore it.
  virtual void SetQuality(int32_t /*quality*/) {}
  // Why the format cannot hold a tile of width x height pixels (1 or more),
  // or empty when it can.
  virtual std::string TileSizeProblem(int32_t /*width*/, int32_t /*height*/) const { return {}; }
};

// The encoder for a graphics exporter format code ("JPEG", "PNGf", "TPIC",
// "8BPS", ".SGI", "BMPf"), or null for any other code.
std::unique_ptr<TileEncoder> NewTileEncoder(const std::string& format);
