#pragma once
// Inside the platform: how the scanlines that libspng decodes from a PNG
// become the picture's ARGB32 pixels.
#include <spng.h>

#include <QRgb>
#include <array>
#include <cstdint>

// Where the pixels of one scanline go: the first column, and the step.
struct PngColumns {
  uint32_t first, step;
};

class PngPixels {
 public:
  // Palettes and gray of up to 8 bits come as stored and go through a table
  // of colours; the rest as RGBA samples of 8 or 16 bits, tRNS applied by
  // libspng. False when the palette cannot be read.
  bool Prepare(spng_ctx* ctx, const spng_ihdr& header);

  // The format and flags to ask libspng for, and the bytes of a scanline
  // in that format.
  int Format() const;
  int DecodeFlags() const { return samples_ == Samples::kLookedUp ? 0 : SPNG_DECODE_TRNS; }
  uint64_t ScanlineBytes(uint32_t width) const;
  // Every pixel has alpha 255: no alpha channel, no tRNS.
  bool Opaque() const { return opaque_; }

  // Puts a decoded scanline in its row, at the columns of its pass.
  void Place(const uint8_t* scanline, uint32_t width, PngColumns columns, QRgb* row) const;

 private:
  enum class Samples { kRgba8, kRgba16, kLookedUp };
  Samples samples_ = Samples::kRgba8;
  int bitDepth_ = 8;
  bool opaque_ = true;
  std::array<QRgb, 256> colors_{};  // kLookedUp: the colour of each stored value
};
