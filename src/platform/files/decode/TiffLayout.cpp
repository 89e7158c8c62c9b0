#include "platform/files/decode/TiffLayout.h"

#include <algorithm>

#include "platform/files/decode/EightBitLevel.h"

namespace {

bool CompressionOpens(uint16_t compression) {
  switch (compression) {
    case COMPRESSION_NONE:
    case COMPRESSION_CCITTRLE:
    case COMPRESSION_CCITTFAX3:
    case COMPRESSION_CCITTFAX4:
    case COMPRESSION_LZW:
    case COMPRESSION_JPEG:
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
    case COMPRESSION_PACKBITS:
      return TIFFIsCODECConfigured(compression);
    default:
      return false;
  }
}

// A colour map's 16-bit levels; old writers stored 8-bit ones, told by no
// level reaching 256.
std::optional<std::array<QRgb, 256>> ReadPalette(TIFF* tiff, int bits) {
  uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
  if (!TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue)) return std::nullopt;
  const int entries = 1 << bits;
  const bool eightBit = std::all_of(red, red + entries, [](uint16_t v) { return v < 256; }) &&
                        std::all_of(green, green + entries, [](uint16_t v) { return v < 256; }) &&
                        std::all_of(blue, blue + entries, [](uint16_t v) { return v < 256; });
  auto level = [eightBit](uint16_t v) {
    return eightBit ? int(v) : int(EightBitLevel(v));
  };
  std::array<QRgb, 256> palette{};
  for (int i = 0; i < entries; ++i)
    palette[i] = qRgb(level(red[i]), level(green[i]), level(blue[i]));
  return palette;
}

// The colour samples and the sample widths that a photometric takes.
bool ReadColour(TIFF* tiff, uint16_t photometric, TiffLayout& layout) {
  using Colour = TiffLayout::Colour;
  const int bits = layout.bits;
  const bool narrow = bits == 1 || bits == 2 || bits == 4;
  const bool wide = bits == 8 || bits == 16;
  switch (photometric) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK:
      layout.colour = photometric == PHOTOMETRIC_MINISWHITE ? Colour::kGrayInverted : Colour::kGray;
      return narrow || wide;
    case PHOTOMETRIC_PALETTE: {
      if (!narrow && bits != 8) return false;
      const auto palette = ReadPalette(tiff, bits);
      if (!palette) return false;
      layout.colour = Colour::kPalette;
      layout.palette = *palette;
      return true;
    }
    case PHOTOMETRIC_RGB:
      layout.colour = Colour::kRgb;
      return wide;
    case PHOTOMETRIC_SEPARATED: {
      uint16_t inkSet = INKSET_CMYK, inks = 4;
      TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &inkSet);
      TIFFGetFieldDefaulted(tiff, TIFFTAG_NUMBEROFINKS, &inks);
      layout.colour = Colour::kCmyk;
      return wide && inkSet == INKSET_CMYK && inks == 4;
    }
    case PHOTOMETRIC_YCBCR:  // libtiff's JPEG codec gives it as RGB
      layout.colour = Colour::kRgb;
      return layout.compression == COMPRESSION_JPEG && !layout.planar && bits == 8 &&
             layout.samplesPerPixel == 3 &&
             TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    default:
      return false;
  }
}

// The first extra sample that is alpha; those after it are passed over.
void ReadAlpha(TIFF* tiff, TiffLayout& layout) {
  uint16_t count = 0;
  uint16_t* kinds = nullptr;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &count, &kinds);
  for (int i = 0; i < count && layout.Colours() + i < layout.samplesPerPixel; ++i)
    if (kinds[i] == EXTRASAMPLE_ASSOCALPHA || kinds[i] == EXTRASAMPLE_UNASSALPHA) {
      layout.alpha = layout.Colours() + i;
      layout.associatedAlpha = kinds[i] == EXTRASAMPLE_ASSOCALPHA;
      return;
    }
}

}  // namespace

std::optional<TiffLayout> ReadTiffLayout(TIFF* tiff) {
  TiffLayout layout;
  uint32_t width = 0, height = 0;
  uint16_t bits = 1, samples = 1, format = SAMPLEFORMAT_UINT, planar = PLANARCONFIG_CONTIG;
  uint16_t orientation = ORIENTATION_TOPLEFT, photometric = 0;
  if (!TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) ||
      !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height) ||
      !TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric))
    return std::nullopt;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &layout.compression);
  layout.width = width;
  layout.height = height;
  layout.orientation = orientation >= 1 && orientation <= 8 ? orientation : 1;
  layout.bits = bits;
  layout.samplesPerPixel = samples;
  layout.planar = planar == PLANARCONFIG_SEPARATE;
  if ((format != SAMPLEFORMAT_UINT && format != SAMPLEFORMAT_VOID) ||
      !CompressionOpens(layout.compression) || !ReadColour(tiff, photometric, layout) ||
      layout.samplesPerPixel < layout.Colours())
    return std::nullopt;
  ReadAlpha(tiff, layout);
  // Rows of tiles are put together a byte at a time.
  uint32_t tileWidth = 0;
  const int pixelBits = layout.bits * (layout.planar ? 1 : layout.samplesPerPixel);
  if (TIFFIsTiled(tiff) &&
      (!TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &tileWidth) || uint64_t(tileWidth) * pixelBits % 8))
    return std::nullopt;
  return layout;
}
