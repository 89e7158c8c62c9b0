#pragma once
// The PNG filters that png_tuning tries beside the encoder's Average, each a
// PngRowFilter: it writes the filter type, then the row's filtered bytes.
#include <cstddef>
#include <cstdint>

void PngNoneFilter(const uint8_t* row, const uint8_t* above, size_t n, size_t bpp, uint8_t* out);
void PngSubFilter(const uint8_t* row, const uint8_t* above, size_t n, size_t bpp, uint8_t* out);
void PngUpFilter(const uint8_t* row, const uint8_t* above, size_t n, size_t bpp, uint8_t* out);
void PngPaethFilter(const uint8_t* row, const uint8_t* above, size_t n, size_t bpp, uint8_t* out);
// Per row, the filter (None, Sub, Up, Average or Paeth, the first on a tie)
// whose bytes, read as signed, have the least sum of magnitudes.
void PngMinimumSumFilter(const uint8_t* row, const uint8_t* above, size_t n, size_t bpp, uint8_t* out);
