#include "platform/files/decode/PngPixels.h"

#include "platform/files/decode/EightBitLevel.h"

namespace {
constexpr QRgb kOpaqueBlack = 0xFF000000;
}  // namespace

bool PngPixels::Prepare(spng_ctx* ctx, const spng_ihdr& header) {
  bitDepth_ = header.bit_depth;
  spng_trns transparency{};
  const bool hasTransparency = spng_get_trns(ctx, &transparency) == 0;
  opaque_ = !(header.color_type & 4) && !hasTransparency;
  if (header.color_type == SPNG_COLOR_TYPE_INDEXED) {
    samples_ = Samples::kLookedUp;
    spng_plte palette{};
    if (spng_get_plte(ctx, &palette) != 0) return false;
    colors_.fill(kOpaqueBlack);
    for (uint32_t i = 0; i < palette.n_entries && i < 256; ++i) {
      const spng_plte_entry& entry = palette.entries[i];
      const int alpha = hasTransparency && i < transparency.n_type3_entries
                            ? transparency.type3_alpha[i]
                            : 255;
      colors_[i] = qRgba(entry.red, entry.green, entry.blue, alpha);
    }
  } else if (header.color_type == SPNG_COLOR_TYPE_GRAYSCALE && bitDepth_ <= 8) {
    samples_ = Samples::kLookedUp;
    const uint32_t largest = (1u << bitDepth_) - 1;
    for (uint32_t v = 0; v <= largest; ++v) {
      const int level = int(v * 255 / largest);
      colors_[v] = qRgba(level, level, level, hasTransparency && v == transparency.gray ? 0 : 255);
    }
  } else {
    samples_ = bitDepth_ == 16 ? Samples::kRgba16 : Samples::kRgba8;
  }
  return true;
}

int PngPixels::Format() const {
  switch (samples_) {
    case Samples::kRgba8: return SPNG_FMT_RGBA8;
    case Samples::kRgba16: return SPNG_FMT_RGBA16;
    default: return SPNG_FMT_PNG;
  }
}

uint64_t PngPixels::ScanlineBytes(uint32_t width) const {
  switch (samples_) {
    case Samples::kRgba8: return uint64_t(width) * 4;
    case Samples::kRgba16: return uint64_t(width) * 8;
    default: return (uint64_t(width) * uint64_t(bitDepth_) + 7) / 8;
  }
}

void PngPixels::Place(const uint8_t* scanline, uint32_t width, PngColumns columns,
                      QRgb* row) const {
  switch (samples_) {
    case Samples::kRgba8:
      for (uint32_t x = columns.first; x < width; x += columns.step, scanline += 4)
        row[x] = qRgba(scanline[0], scanline[1], scanline[2], scanline[3]);
      break;
    case Samples::kRgba16: {
      const auto* rgba = reinterpret_cast<const uint16_t*>(scanline);  // in the machine's order
      for (uint32_t x = columns.first; x < width; x += columns.step, rgba += 4)
        row[x] = qRgba(EightBitLevel(rgba[0]), EightBitLevel(rgba[1]), EightBitLevel(rgba[2]),
                       EightBitLevel(rgba[3]));
      break;
    }
    case Samples::kLookedUp: {
      if (bitDepth_ == 8) {
        for (uint32_t x = columns.first; x < width; x += columns.step) row[x] = colors_[*scanline++];
        break;
      }
      // Samples packed from the most significant bit.
      const uint32_t mask = (1u << bitDepth_) - 1;
      int shift = 8 - bitDepth_;
      for (uint32_t x = columns.first; x < width; x += columns.step) {
        row[x] = colors_[*scanline >> shift & mask];
        if ((shift -= bitDepth_) < 0) {
          shift = 8 - bitDepth_;
          ++scanline;
        }
      }
      break;
    }
  }
}
