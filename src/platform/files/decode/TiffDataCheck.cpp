#include "platform/files/decode/TiffDataCheck.h"

#include <algorithm>

namespace {

// The fewest bytes that decode to `bytes` bytes of `rows` rows: PackBits
// takes 2 bytes for 128 at best, LZW and Deflate give well under 2048 for 1
// (about 1400 and 1032), and JPEG under 2048 for 1 at 2 bits a block; CCITT
// codes a row in 1 bit at best.
uint64_t LeastBytes(uint16_t compression, uint64_t bytes, uint64_t rows) {
  switch (compression) {
    case COMPRESSION_NONE:
      return bytes;
    case COMPRESSION_PACKBITS:
      return (bytes + 63) / 64;
    case COMPRESSION_CCITTRLE:
    case COMPRESSION_CCITTFAX3:
    case COMPRESSION_CCITTFAX4:
      return (rows + 7) / 8;
    default:
      return (bytes + 2047) / 2048;
  }
}

}  // namespace

bool HoldsItsData(TIFF* tiff, const TiffLayout& layout, uint64_t fileSize) {
  const bool tiled = TIFFIsTiled(tiff);
  const uint32_t count = tiled ? TIFFNumberOfTiles(tiff) : TIFFNumberOfStrips(tiff);
  uint32_t rowsPerStrip = 0, tileWidth = 0, tileHeight = 0;
  if (tiled) {
    TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tiff, TIFFTAG_TILELENGTH, &tileHeight);
  } else {
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    rowsPerStrip = uint32_t(std::min<int64_t>(rowsPerStrip, layout.height));
  }
  if (count == 0 || (tiled ? tileWidth == 0 || tileHeight == 0 : rowsPerStrip == 0)) return false;
  const uint64_t stripsPerPlane =
      (uint64_t(layout.height) + rowsPerStrip - 1) / std::max(rowsPerStrip, 1u);
  const uint64_t tileBytes = tiled ? TIFFTileSize64(tiff) : 0;
  for (uint32_t i = 0; i < count; ++i) {
    // The last strip of a plane holds the rows left.
    const uint64_t rows =
        tiled ? tileHeight
              : std::min<uint64_t>(rowsPerStrip, layout.height - i % stripsPerPlane * rowsPerStrip);
    const uint64_t bytes = tiled ? tileBytes : TIFFVStripSize64(tiff, uint32_t(rows));
    const uint64_t offset = TIFFGetStrileOffset(tiff, i), size = TIFFGetStrileByteCount(tiff, i);
    if (size == 0 || offset > fileSize || size > fileSize - offset ||
        size < LeastBytes(layout.compression, bytes, rows))
      return false;
  }
  return true;
}
