#include "platform/quicktime/TileEncoder.h"

#include "platform/quicktime/BmpTileEncoder.h"
#include "platform/quicktime/JpegTileEncoder.h"
#include "platform/quicktime/MagickTileEncoder.h"
#include "platform/quicktime/PngTileEncoder.h"
#include "platform/quicktime/PsdTileEncoder.h"

std::unique_ptr<TileEncoder> NewTileEncoder(const std::string& format) {
  if (format == "JPEG") return std::make_unique<JpegTileEncoder>();
  if (format == "PNGf") return std::make_unique<PngTileEncoder>();
  if (format == "TPIC") return std::make_unique<MagickTileEncoder>("TGA");
  if (format == "8BPS") return std::make_unique<PsdTileEncoder>();
  if (format == ".SGI") return std::make_unique<MagickTileEncoder>("SGI");
  if (format == "BMPf") return std::make_unique<BmpTileEncoder>();
  return nullptr;
}
