#pragma once
// Inside the platform: BMP's run-length coded pixels (RLE8 and RLE4).
#include <QImage>
#include <cstdint>
#include <span>

// The fewest bytes of RLE data that reach the last of that many rows: a
// delta of 4 bytes moves down 255 rows at most.
uint64_t LeastRleBytes(int64_t height);

// Decodes the data (8 or 4 bits a pixel) into the picture, rows stored
// bottom first unless topDown; the pixels it skips (by deltas, ends of line
// and the end of the bitmap) take palette entry 0. False when the data ends
// (or the bitmap does) before the last row.
bool DecodeBmpRle(std::span<const uint8_t> data, int bitsPerPixel, bool topDown,
                  const QRgb* palette, QImage& image);
