#include "PngFilters.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/quicktime/PngScanlines.h"

namespace {
enum FilterType : uint8_t { kNone = 0, kSub = 1, kUp = 2, kPaeth = 4 };

uint8_t PaethPredictor(int left, int up, int upLeft) {
  const int toLeft = std::abs(up - upLeft);   // |p - left| for p = left + up - upLeft
  const int toUp = std::abs(left - upLeft);   // |p - up|
  const int toUpLeft = std::abs(left + up - 2 * upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return uint8_t(left);
  return uint8_t(toUp <= toUpLeft ? up : upLeft);
}

uint64_t SumOfMagnitudes(const uint8_t* bytes, size_t n) {
  uint64_t sum = 0;
  for (size_t i = 0; i < n; ++i) sum += uint8_t(std::abs(int(int8_t(bytes[i]))));
  return sum;
}
}  // namespace

void PngNoneFilter(const uint8_t* row, const uint8_t*, size_t n, size_t, uint8_t* out) {
  *out++ = kNone;
  std::memcpy(out, row, n);
}

void PngSubFilter(const uint8_t* row, const uint8_t*, size_t n, size_t bpp, uint8_t* out) {
  *out++ = kSub;
  std::memcpy(out, row, bpp);
  for (size_t i = bpp; i < n; ++i) out[i] = uint8_t(row[i] - row[i - bpp]);
}

void PngUpFilter(const uint8_t* row, const uint8_t* above, size_t n, size_t, uint8_t* out) {
  *out++ = kUp;
  for (size_t i = 0; i < n; ++i) out[i] = uint8_t(row[i] - above[i]);
}

void PngPaethFilter(const uint8_t* row, const uint8_t* above, size_t n, size_t bpp, uint8_t* out) {
  *out++ = kPaeth;
  for (size_t i = 0; i < bpp; ++i) out[i] = uint8_t(row[i] - above[i]);
  for (size_t i = bpp; i < n; ++i) out[i] = uint8_t(row[i] - PaethPredictor(row[i - bpp], above[i], above[i - bpp]));
}

void PngMinimumSumFilter(const uint8_t* row, const uint8_t* above, size_t n, size_t bpp, uint8_t* out) {
  static std::vector<uint8_t> candidate;  // a scanline tried after the first
  candidate.resize(1 + n);
  uint64_t least = UINT64_MAX;
  for (PngRowFilter tried : {PngNoneFilter, PngSubFilter, PngUpFilter, PngAverageFilter, PngPaethFilter}) {
    uint8_t* scanline = least == UINT64_MAX ? out : candidate.data();
    tried(row, above, n, bpp, scanline);
    const uint64_t sum = SumOfMagnitudes(scanline + 1, n);
    if (sum >= least) continue;
    least = sum;
    if (scanline != out) std::memcpy(out, scanline, 1 + n);
  }
}
