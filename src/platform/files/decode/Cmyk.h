#pragma once
// Inside the platform: CMYK to RGB, as readers of CMYK files need it.
#include <QRgb>
#include <cstdint>

// Inks stored inverted, as Adobe writes them (255 is no ink): each colour is
// its stored value times the stored K. Plain CMYK (0 is no ink) passes each
// ink as 255 - ink.
inline QRgb RgbOfInvertedCmyk(uint32_t c, uint32_t m, uint32_t y, uint32_t k) {
  auto colour = [k](uint32_t ink) { return int((ink * k + 127) / 255); };
  return qRgb(colour(c), colour(m), colour(y));
}
