#include "platform/quicktime/BmpTileEncoder.h"

#include <QBuffer>
#include <QImageWriter>
#include <cmath>
#include <cstdint>

#include "platform/graphics/PictureImage.h"
#include "platform/quicktime/TileFile.h"
#include "platform/quicktime/TilePixels.h"

namespace {
// Qt writes the file's size in a signed 32-bit field, and refuses a file
// that does not fit it.
constexpr uint64_t kLargestFileBytes = (uint64_t(1) << 31) - 1;

// A 24-bit file: headers, then rows padded to 4 bytes.
uint64_t FileBytes(uint64_t width, uint64_t height) {
  constexpr uint64_t kHeaderBytes = 54;
  return kHeaderBytes + (width * 3 + 3) / 4 * 4 * height;
}
}  // namespace

bool BmpTileEncoder::Save(const PictureImage& tile, const TilePath& path, std::string& error) {
  FlattenOntoWhite(tile.image, flattened_);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "bmp");
  if (!writer.write(flattened_)) {
    error = "BMP: " + writer.errorString().toStdString();
    return false;
  }
  return ReplaceFileWith(path, bytes.constData(), size_t(bytes.size()), error);
}

std::string BmpTileEncoder::TileSizeProblem(int32_t width, int32_t height) const {
  if (FileBytes(uint64_t(width), uint64_t(height)) <= kLargestFileBytes) return {};
  // Down from just past the side whose square takes 2 GB at three bytes a
  // pixel, to the largest square that fits with its rows' padding.
  uint64_t side = uint64_t(std::sqrt(double(kLargestFileBytes) / 3)) + 1;
  while (FileBytes(side, side) > kLargestFileBytes) --side;
  return "A BMP file cannot hold a tile of " + std::to_string(width) + " x " +
         std::to_string(height) + " pixels; the largest is 2 GB, such as a tile of " +
         std::to_string(side) + " x " + std::to_string(side) + " pixels.";
}
