#include "platform/files/decode/BmpHeader.h"

#include "platform/files/decode/ByteCursor.h"

namespace {

constexpr uint32_t kOs2 = 12, kWindows = 40, kOs2Version2 = 64, kV4 = 108, kV5 = 124;
constexpr uint64_t kFileHeaderBytes = 14;

bool ValidDepth(const BmpHeader& h, uint32_t headerSize) {
  using C = BmpHeader::Compression;
  switch (h.bitsPerPixel) {
    case 1: return h.compression == C::kNone;
    case 4: return h.compression == C::kNone || h.compression == C::kRle4;
    case 8: return h.compression == C::kNone || h.compression == C::kRle8;
    case 24: return h.compression == C::kNone;
    // OS/2's compression 3 is Huffman coding, not bit fields.
    case 16: case 32:
      return h.compression == C::kNone ||
             (h.compression == C::kBitFields && headerSize != kOs2Version2);
    default: return false;
  }
}

// The masks of pixels without bit fields: 5 bits a colour in 16 bits, 8 in 32.
std::array<uint32_t, 4> DefaultMasks(int bitsPerPixel) {
  if (bitsPerPixel == 16) return {0x7C00, 0x03E0, 0x001F, 0};
  return {0xFF0000, 0xFF00, 0xFF, 0};
}

}  // namespace

bool ReadBmpHeader(std::span<const uint8_t> bmp, BmpHeader& h) {
  ByteCursor in(bmp, 10);
  h.dataOffset = in.LittleEndian(4);
  const uint32_t size = in.LittleEndian(4);
  uint32_t colorsUsed = 0;
  std::array<uint32_t, 4> headerMasks{};
  if (size == kOs2) {
    h.width = in.LittleEndian(2);
    h.height = in.LittleEndian(2);
    in.Skip(2);  // planes
    h.bitsPerPixel = int(in.LittleEndian(2));
  } else if (size == kWindows || size == kOs2Version2 || size == kV4 || size == kV5) {
    h.width = int32_t(in.LittleEndian(4));
    h.height = int32_t(in.LittleEndian(4));
    in.Skip(2);  // planes
    h.bitsPerPixel = int(in.LittleEndian(2));
    h.compression = in.LittleEndian(4);
    in.Skip(12);  // image size, resolution
    colorsUsed = in.LittleEndian(4);
    in.Skip(4);  // important colours
    if (size >= kV4)
      for (uint32_t& mask : headerMasks) mask = in.LittleEndian(4);
  } else {
    return false;
  }
  if (!in.Ok() || !ValidDepth(h, size) || h.dataOffset < kFileHeaderBytes + size) return false;
  h.topDown = h.height < 0;
  if (h.topDown) h.height = -h.height;

  ByteCursor after(bmp, kFileHeaderBytes + size);
  if (h.bitsPerPixel == 16 || h.bitsPerPixel == 32) {
    h.masks = DefaultMasks(h.bitsPerPixel);
    if (h.compression == BmpHeader::kBitFields) {
      if (size == kWindows)
        for (int i = 0; i < 3; ++i) h.masks[size_t(i)] = after.LittleEndian(4);
      else
        h.masks = headerMasks;
    }
    h.masks[3] = headerMasks[3];  // a V4 or V5 header's alpha mask counts without bit fields too
  }

  h.palette.fill(0xFF000000);
  if (h.bitsPerPixel <= 8) {
    const uint32_t full = 1u << h.bitsPerPixel;
    const uint32_t count = colorsUsed && colorsUsed < full ? colorsUsed : full;
    const int entryBytes = size == kOs2 ? 3 : 4;
    const uint8_t* entries = after.Take(uint64_t(count) * entryBytes);
    for (uint32_t i = 0; entries && i < count; ++i) {
      const uint8_t* bgr = entries + i * entryBytes;
      h.palette[i] = qRgb(bgr[2], bgr[1], bgr[0]);
    }
  }
  return after.Ok();
}
