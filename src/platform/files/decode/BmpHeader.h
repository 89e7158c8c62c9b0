#pragma once
// Inside the platform: the headers of a BMP file, its masks and palette.
#include <QRgb>
#include <array>
#include <cstdint>
#include <span>

struct BmpHeader {
  enum Compression : uint32_t { kNone = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

  int64_t width = 0, height = 0;
  bool topDown = false;  // rows stored top first (a negative height)
  int bitsPerPixel = 0;
  uint32_t compression = kNone;
  // Where the bits of a 16- or 32-bit pixel are: red, green, blue, alpha (0:
  // no alpha); all 0 at other depths.
  std::array<uint32_t, 4> masks{};
  std::array<QRgb, 256> palette{};  // opaque black past the file's entries
  uint64_t dataOffset = 0;
};

// Reads an OS/2 (12 or 64 bytes), Windows (40), V4 (108) or V5 (124) header
// with the masks and palette that follow; false for another header, a depth
// or compression that does not go with it, pixel data said to start inside
// the headers, or a file too short to hold them.
bool ReadBmpHeader(std::span<const uint8_t> bmp, BmpHeader& header);
