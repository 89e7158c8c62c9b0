#pragma once
// Inside the platform: what the first directory of a TIFF says of its
// picture, for the kinds of TIFF that open.
#include <tiffio.h>

#include <QRgb>
#include <array>
#include <cstdint>
#include <optional>

struct TiffLayout {
  enum class Colour { kGray, kGrayInverted, kPalette, kRgb, kCmyk };

  int64_t width = 0, height = 0;  // as stored
  int orientation = 1;            // 1 to 8
  Colour colour = Colour::kGray;
  int bits = 8;     // a sample: 1, 2, 4, 8 or 16
  int samplesPerPixel = 1;
  bool planar = false;           // each sample in a plane of its own
  int alpha = -1;                // the sample that is alpha, or -1
  bool associatedAlpha = false;  // colours premultiplied by alpha
  uint16_t compression = COMPRESSION_NONE;
  std::array<QRgb, 256> palette{};  // Colour::kPalette

  // The colour samples of a pixel: 1, 3 or 4.
  int Colours() const { return colour == Colour::kRgb ? 3 : colour == Colour::kCmyk ? 4 : 1; }
};

// The layout of the file's first picture, or nothing for a kind that does
// not open: float or signed samples, colour spaces other than gray, palette,
// RGB, CMYK and YCbCr in JPEG, sample widths other than 1, 2, 4, 8 and 16
// bits for gray, 1, 2, 4 and 8 for a palette and 8 and 16 for RGB and CMYK,
// compressions other than none, CCITT, LZW, Deflate, PackBits and JPEG,
// tiles whose rows end within a byte. YCbCr in JPEG is asked of libtiff as
// RGB.
std::optional<TiffLayout> ReadTiffLayout(TIFF* tiff);
