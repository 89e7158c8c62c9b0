#include "platform/files/decode/PsdReader.h"

#include <vector>

#include "platform/files/decode/ByteCursor.h"
#include "platform/files/decode/Cmyk.h"
#include "platform/files/decode/EightBitLevel.h"
#include "platform/files/decode/PackBits.h"
#include "platform/files/decode/Signature.h"

namespace {

enum ColorMode : uint64_t { kGray = 1, kIndexed = 2, kRgb = 3, kCmyk = 4, kDuotone = 8 };

int ColorChannels(uint64_t mode) {
  switch (mode) {
    case kGray: case kDuotone: case kIndexed: return 1;
    case kRgb: return 3;
    case kCmyk: return 4;
    default: return 0;
  }
}

// Where the samples of one channel go in the ARGB32 pixel.
struct Destination {
  enum Kind { kShift, kAllColor, kPalette } kind;
  int shift = 0;
  const uint8_t* palette = nullptr;  // 256 reds, 256 greens, 256 blues
};

Destination ChannelDestination(uint64_t mode, int channel, int colorChannels,
                               const uint8_t* palette) {
  if (channel == colorChannels) return {Destination::kShift, 24};  // alpha
  if (mode == kIndexed) return {Destination::kPalette, 0, palette};
  if (mode == kGray || mode == kDuotone) return {Destination::kAllColor};
  // RGB in red, green, blue; CMYK as C, M, Y there and K in the alpha byte
  // until the channels are combined.
  static constexpr int kShifts[] = {16, 8, 0, 24};
  return {Destination::kShift, kShifts[channel]};
}

void StoreRow(const uint8_t* samples, int bytesPerSample, uint32_t* pixels, int64_t width,
              const Destination& to) {
  for (int64_t x = 0; x < width; ++x) {
    uint32_t value = samples[x * bytesPerSample];
    if (bytesPerSample == 2) value = EightBitLevel(value << 8 | samples[x * 2 + 1]);
    uint32_t& pixel = pixels[x];
    switch (to.kind) {
      case Destination::kShift:
        pixel = (pixel & ~(0xFFu << to.shift)) | value << to.shift;
        break;
      case Destination::kAllColor:
        pixel = (pixel & 0xFF000000u) | value << 16 | value << 8 | value;
        break;
      case Destination::kPalette:
        pixel = 0xFF000000u | uint32_t(to.palette[value]) << 16 |
                uint32_t(to.palette[256 + value]) << 8 | to.palette[512 + value];
        break;
    }
  }
}

// Photoshop stores CMYK inverted; K waits in the alpha byte.
void CombineCmyk(QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    auto* pixels = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const uint32_t p = pixels[x];
      pixels[x] = RgbOfInvertedCmyk(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF, p >> 24);
    }
  }
}

// Whether the rest of the file holds the stored rows of every channel, those
// not shown included: raw rows of rowBytes, or PackBits rows of the packed
// sizes that counts gives, whose packets each unpack to rowBytes. Checked
// before the picture's memory is taken, so that a file damaged or cut short
// anywhere is refused without it.
bool HoldsRows(ByteCursor rest, const uint8_t* counts, int countBytes, uint64_t rows,
               uint64_t rowBytes) {
  if (!counts) return rest.Skip(rows * rowBytes);
  ByteCursor sizes({counts, rows * countBytes});
  for (uint64_t y = 0; y < rows; ++y) {
    const uint64_t packedSize = sizes.BigEndian(countBytes);
    const uint8_t* packed = rest.Take(packedSize);
    if (!packed || !UnpacksToRow({packed, packedSize}, rowBytes)) return false;
  }
  return true;
}

DecodeResult Decode(std::span<const uint8_t> data, PictureMemory& memory) {
  ByteCursor in(data);
  in.Skip(4);  // signature
  const uint64_t version = in.BigEndian(2);  // 1: PSD, 2: PSB
  in.Skip(6);
  const uint64_t channels = in.BigEndian(2);
  const uint64_t height = in.BigEndian(4), width = in.BigEndian(4);
  const uint64_t depth = in.BigEndian(2), mode = in.BigEndian(2);
  const int colorChannels = ColorChannels(mode);
  if (!in.Ok() || (version != 1 && version != 2) || colorChannels == 0 ||
      channels < uint64_t(colorChannels) || channels > 56 || (depth != 8 && depth != 16) ||
      (mode == kIndexed && depth != 8) || !memory.AdmitSides(int64_t(width), int64_t(height)))
    return DecodeResult::Refused();

  const uint64_t colorDataSize = in.BigEndian(4);
  const uint8_t* palette = in.Take(colorDataSize);
  if (mode == kIndexed && colorDataSize < 768) return DecodeResult::Refused();
  in.Skip(in.BigEndian(4));                     // image resources
  in.Skip(in.BigEndian(version == 1 ? 4 : 8));  // layers and masks
  const uint64_t compression = in.BigEndian(2);  // 0: raw, 1: PackBits
  if (!in.Ok() || compression > 1) return DecodeResult::Refused();

  const bool alpha = channels > uint64_t(colorChannels) && mode != kIndexed;
  const int used = colorChannels + (alpha ? 1 : 0);
  const int bytesPerSample = int(depth / 8);
  const uint64_t rowBytes = width * uint64_t(bytesPerSample);
  const int countBytes = version == 1 ? 2 : 4;
  const uint8_t* counts = compression == 1 ? in.Take(channels * height * countBytes) : nullptr;
  if (!in.Ok() || !HoldsRows(in, counts, countBytes, channels * height, rowBytes))
    return DecodeResult::Refused();

  QImage image = memory.Take(int64_t(width), int64_t(height), rowBytes);
  if (image.isNull()) return DecodeResult::Refused();
  std::vector<uint8_t> row(compression == 1 ? rowBytes : 0);
  image.fill(0xFF000000u);
  for (int channel = 0; channel < used; ++channel) {
    const Destination to = ChannelDestination(mode, channel, colorChannels, palette);
    for (uint64_t y = 0; y < height; ++y) {
      const uint8_t* samples;
      if (compression == 1) {
        ByteCursor count({counts + (channel * height + y) * countBytes, size_t(countBytes)});
        const uint64_t packedSize = count.BigEndian(countBytes);
        UnpackBits({in.Take(packedSize), packedSize}, row.data(), rowBytes);  // checked above
        samples = row.data();
      } else {
        samples = in.Take(rowBytes);
      }
      StoreRow(samples, bytesPerSample, reinterpret_cast<uint32_t*>(image.scanLine(int(y))),
               int64_t(width), to);
    }
    if (mode == kCmyk && channel == 3) CombineCmyk(image);
  }
  return DecodeResult::Decoded(std::move(image), !alpha);
}

}  // namespace

bool IsPsd(const EncodedFile& file) { return HasBytesAt(file.Bytes(), 0, "8BPS"); }

DecodeResult ReadPsd(const EncodedFile& file, PictureMemory& memory) {
  return Decode(file.Bytes(), memory);
}
