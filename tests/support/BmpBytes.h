#pragma once
// BMP files built by hand: every header kind, bit depth and compression, with
// the rows given as bytes, so that damage and huge sides stay cheap to make.
#include <QByteArray>
#include <QRgb>
#include <cstdint>
#include <functional>
#include <vector>

// What the file's headers say (the platform's reader has its own BmpHeader).
struct BmpLayout {
  int headerSize = 40;  // 12 (OS/2), 40, 108 (V4) or 124 (V5)
  int32_t width = 1, height = 1;  // a negative height stores the top row first
  int bitsPerPixel = 24;
  uint32_t compression = 0;  // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
  std::vector<QRgb> palette = {};
  // Red, green, blue (and alpha, in V4 and V5 headers) masks; for a
  // 40-byte header with bit fields they follow the header.
  std::vector<uint32_t> masks = {};
};

// The file: file header, header, masks, palette, then the pixel data.
QByteArray BmpFile(const BmpLayout& layout, const QByteArray& pixels);

// Uncompressed rows of the layout's size and depth, each padded to 4 bytes,
// stored bottom row first unless the height is negative: value(x, y) is the
// palette index, or the pixel's bytes as a little-endian number.
QByteArray BmpRows(const BmpLayout& layout, const std::function<uint32_t(int x, int y)>& value);

// RLE8 (or, at 4 bits a pixel, RLE4) data of the layout's size: each row
// as runs of one index, closed by an end of line; the last by the end of
// the bitmap. index(x, y) is the pixel's palette index.
QByteArray BmpRle(const BmpLayout& layout, const std::function<uint8_t(int x, int y)>& index);
