#include "platform/files/decode/Completeness.h"

#include <cstdlib>

namespace {

uint32_t LittleEndian(const QByteArray& bytes, qsizetype at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | uint8_t(bytes[at + i]);
  return value;
}

// An uncompressed BMP needs its pixel rows in full after the offset of its
// data; a compressed one is left to its reader.
bool BmpComplete(const QByteArray& data) {
  if (data.size() < 34) return false;
  const uint32_t dataOffset = LittleEndian(data, 10, 4);
  const bool core = LittleEndian(data, 14, 4) == 12;  // the OS/2 header
  const int64_t width = core ? LittleEndian(data, 18, 2) : int32_t(LittleEndian(data, 18, 4));
  const int64_t height = core ? LittleEndian(data, 20, 2) : int32_t(LittleEndian(data, 22, 4));
  const int64_t bitsPerPixel = LittleEndian(data, core ? 24 : 28, 2);
  const uint32_t compression = core ? 0 : LittleEndian(data, 30, 4);
  constexpr uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
  if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields)
    return true;
  const int64_t rowBytes = (std::abs(width) * bitsPerPixel + 31) / 32 * 4;
  return data.size() >= int64_t(dataOffset) + rowBytes * std::abs(height);
}

// A GIF needs the whole chain of data blocks of its first image.
bool GifComplete(const QByteArray& data) {
  const qsizetype size = data.size();
  auto byte = [&](qsizetype at) { return uint8_t(data[at]); };
  auto colorTableSize = [](uint8_t flags) { return flags & 0x80 ? 3 << ((flags & 7) + 1) : 0; };
  qsizetype at = 13;  // past the header and the logical screen
  if (size < at) return false;
  at += colorTableSize(byte(10));
  auto skipDataBlocks = [&] {
    while (at < size) {
      const uint8_t length = byte(at++);
      if (length == 0) return true;
      at += length;
    }
    return false;
  };
  while (at < size) {
    const uint8_t introducer = byte(at++);
    if (introducer == 0x21) {  // extension: a label, then data blocks
      if (++at > size || !skipDataBlocks()) return false;
    } else if (introducer == 0x2C) {  // image: descriptor, colours, code size, data
      at += 9;
      if (at > size) return false;
      at += colorTableSize(byte(at - 1)) + 1;
      return at <= size && skipDataBlocks();
    } else {
      return false;
    }
  }
  return false;
}

}  // namespace

bool HoldsWholePicture(const QByteArray& format, const QByteArray& data) {
  if (format == "bmp") return BmpComplete(data);
  if (format == "gif") return GifComplete(data);
  return true;
}
