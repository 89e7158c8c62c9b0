#include "platform/files/decode/TiffSamples.h"

#include <algorithm>
#include <cstring>

#include "platform/files/decode/Cmyk.h"
#include "platform/files/decode/EightBitLevel.h"

namespace {

template <int kBits>
constexpr uint32_t kMax = (1u << kBits) - 1;

// Sample s of pixel x in a row of kBits-bit samples, the first bits of a
// byte first.
template <int kBits>
uint32_t SampleAt(const uint8_t* const* planes, const TiffLayout& layout, int s, int64_t x) {
  const uint8_t* row = planes[layout.planar ? s : 0];
  const uint64_t index = layout.planar ? uint64_t(x) : uint64_t(x) * layout.samplesPerPixel + s;
  if constexpr (kBits == 16) {
    uint16_t value;
    std::memcpy(&value, row + 2 * index, 2);
    return value;
  } else if constexpr (kBits == 8) {
    return row[index];
  } else {
    const uint64_t bit = index * kBits;
    return (row[bit / 8] >> (8 - kBits - bit % 8)) & kMax<kBits>;
  }
}

// A level of kBits bits as 8 bits, rounded.
template <int kBits>
uint8_t ToByte(uint32_t level) {
  if constexpr (kBits == 16) return EightBitLevel(level);
  return uint8_t((level * 255 + kMax<kBits> / 2) / kMax<kBits>);
}

// A level premultiplied by a non-zero alpha, divided by it again.
template <int kBits>
uint32_t Straight(uint32_t level, uint32_t alpha) {
  return uint32_t(
      std::min<uint64_t>(kMax<kBits>, (uint64_t(level) * kMax<kBits> + alpha / 2) / alpha));
}

}  // namespace

uint64_t TiffSamples::WorkingBytes(const TiffLayout& layout) {
  return uint64_t(layout.width) * (layout.Colours() + 1);
}

TiffSamples::TiffSamples(const TiffLayout& layout)
    : layout_(layout), used_(layout.Colours() + (layout.alpha >= 0 ? 1 : 0)) {
  levels_.resize(size_t(layout.width) * used_);
}

template <int kBits>
void TiffSamples::Gather(const uint8_t* const* planes) {
  const TiffLayout& l = layout_;
  const bool indexed = l.colour == TiffLayout::Colour::kPalette;  // levels are indices
  uint8_t* out = levels_.data();
  for (int64_t x = 0; x < l.width; ++x) {
    const uint32_t alpha = l.alpha >= 0 ? SampleAt<kBits>(planes, l, l.alpha, x) : kMax<kBits>;
    for (int c = 0; c < l.Colours(); ++c) {
      uint32_t level = SampleAt<kBits>(planes, l, c, x);
      if (indexed) {
        *out++ = uint8_t(level);
        continue;
      }
      if (l.associatedAlpha) level = alpha ? Straight<kBits>(level, alpha) : 0;
      *out++ = ToByte<kBits>(level);
    }
    if (l.alpha >= 0) *out++ = ToByte<kBits>(alpha);
  }
}

template <typename Pixel>
void TiffSamples::ForEachPixel(const uint8_t* levels, QRgb* pixels, Pixel pixel) const {
  const bool alpha = layout_.alpha >= 0;
  for (int64_t x = 0; x < layout_.width; ++x, levels += used_) {
    const QRgb colour = pixel(levels);
    pixels[x] = alpha ? (colour & 0x00FFFFFFu) | uint32_t(levels[layout_.Colours()]) << 24 : colour;
  }
}

void TiffSamples::Convert(const uint8_t* const* planes, QRgb* pixels) {
  const uint8_t* levels = levels_.data();
  const bool asStored = layout_.bits == 8 && !layout_.planar && !layout_.associatedAlpha &&
                        layout_.samplesPerPixel == used_;
  if (asStored) {
    levels = planes[0];
  } else {
    switch (layout_.bits) {
      case 1:
        Gather<1>(planes);
        break;
      case 2:
        Gather<2>(planes);
        break;
      case 4:
        Gather<4>(planes);
        break;
      case 8:
        Gather<8>(planes);
        break;
      case 16:
        Gather<16>(planes);
        break;
    }
  }
  using Colour = TiffLayout::Colour;
  switch (layout_.colour) {
    case Colour::kGray:
      ForEachPixel(levels, pixels, [](const uint8_t* v) { return qRgb(v[0], v[0], v[0]); });
      break;
    case Colour::kGrayInverted:
      ForEachPixel(levels, pixels, [](const uint8_t* v) {
        const int level = 255 - v[0];
        return qRgb(level, level, level);
      });
      break;
    case Colour::kPalette:
      ForEachPixel(levels, pixels, [this](const uint8_t* v) { return layout_.palette[v[0]]; });
      break;
    case Colour::kRgb:
      ForEachPixel(levels, pixels, [](const uint8_t* v) { return qRgb(v[0], v[1], v[2]); });
      break;
    case Colour::kCmyk:  // 0 is no ink
      ForEachPixel(levels, pixels, [](const uint8_t* v) {
        return RgbOfInvertedCmyk(255 - v[0], 255 - v[1], 255 - v[2], 255 - v[3]);
      });
      break;
  }
}
