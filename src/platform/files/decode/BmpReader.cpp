#include "platform/files/decode/BmpReader.h"

#include <array>
#include <bit>

#include "platform/files/decode/BmpHeader.h"
#include "platform/files/decode/BmpRle.h"
#include "platform/files/decode/Signature.h"

namespace {

// One channel of a 16- or 32-bit pixel, brought to 8 bits (rounded).
class Channel {
 public:
  explicit Channel(uint32_t mask)
      : mask_(mask), shift_(mask ? std::countr_zero(mask) : 0), largest_(mask >> shift_) {
    for (uint32_t v = 0; v <= largest_ && v < 256; ++v) small_[v] = Scaled(v);
  }
  uint8_t Of(uint32_t pixel) const {
    const uint32_t v = (pixel & mask_) >> shift_;
    return largest_ < 256 ? small_[v] : Scaled(v);
  }

 private:
  uint8_t Scaled(uint32_t v) const {
    return largest_ ? uint8_t((uint64_t(v) * 255 + largest_ / 2) / largest_) : 0;
  }

  uint32_t mask_;
  int shift_;
  uint32_t largest_;
  std::array<uint8_t, 256> small_{};
};

// Turns the stored rows of an uncompressed BMP into the picture's rows.
class RowConverter {
 public:
  explicit RowConverter(const BmpHeader& h)
      : bits_(h.bitsPerPixel),
        palette_(h.palette),
        red_(h.masks[0]),
        green_(h.masks[1]),
        blue_(h.masks[2]),
        alpha_(h.masks[3]),
        hasAlpha_(h.masks[3] != 0) {}

  // A stored row of width pixels into the picture's row.

  void Convert(const uint8_t* in, QRgb* out, int64_t width) const {
    switch (bits_) {
      case 1: case 4: case 8: {
        const int mask = (1 << bits_) - 1;
        for (int64_t x = 0; x < width; ++in)
          for (int shift = 8 - bits_; shift >= 0 && x < width; shift -= bits_)
            out[x++] = palette_[size_t(*in >> shift & mask)];
        break;
      }
      case 24:
        for (int64_t x = 0; x < width; ++x, in += 3) out[x] = qRgb(in[2], in[1], in[0]);
        break;
      case 16:
        for (int64_t x = 0; x < width; ++x, in += 2) out[x] = Packed(uint32_t(in[0] | in[1] << 8));
        break;
      default:
        for (int64_t x = 0; x < width; ++x, in += 4)
          out[x] = Packed(uint32_t(in[0] | in[1] << 8 | in[2] << 16) | uint32_t(in[3]) << 24);
    }
  }

 private:
  QRgb Packed(uint32_t pixel) const {
    return qRgba(red_.Of(pixel), green_.Of(pixel), blue_.Of(pixel),
                 hasAlpha_ ? alpha_.Of(pixel) : 255);
  }

  int bits_;
  const std::array<QRgb, 256>& palette_;
  Channel red_, green_, blue_, alpha_;
  bool hasAlpha_;
};

bool IsRle(const BmpHeader& h) {
  return h.compression == BmpHeader::kRle8 || h.compression == BmpHeader::kRle4;
}

}  // namespace

bool IsBmp(const EncodedFile& file) { return HasBytesAt(file.Bytes(), 0, "BM"); }

DecodeResult ReadBmp(const EncodedFile& file, PictureMemory& memory) {
  const std::span<const uint8_t> bmp = file.Bytes();
  BmpHeader h;
  if (!ReadBmpHeader(bmp, h) || !memory.AdmitSides(h.width, h.height) ||
      h.dataOffset > bmp.size())
    return DecodeResult::Refused();
  const std::span<const uint8_t> data = bmp.subspan(size_t(h.dataOffset));
  const uint64_t rowBytes = (uint64_t(h.width) * uint64_t(h.bitsPerPixel) + 31) / 32 * 4;
  // The rows must be there (or, coded, the least data that reaches the last
  // one) before the picture's memory is taken.
  if (data.size() < (IsRle(h) ? LeastRleBytes(h.height) : rowBytes * uint64_t(h.height)))
    return DecodeResult::Refused();
  QImage image = memory.Take(h.width, h.height);
  if (image.isNull()) return DecodeResult::Refused();

  if (IsRle(h)) {
    if (!DecodeBmpRle(data, h.bitsPerPixel, h.topDown, h.palette.data(), image))
      return DecodeResult::Refused();
    return DecodeResult::Decoded(std::move(image), true);
  }
  const RowConverter converter(h);
  for (int64_t stored = 0; stored < h.height; ++stored) {
    const int64_t y = h.topDown ? stored : h.height - 1 - stored;
    converter.Convert(data.data() + stored * rowBytes,
                      reinterpret_cast<QRgb*>(image.scanLine(int(y))), h.width);
  }
  return DecodeResult::Decoded(std::move(image), h.masks[3] == 0);
}
