#pragma once
// Inside the graphics exporter: the JPEG exporter's quality scale.
#include <algorithm>
#include <cmath>
#include <cstdint>

// The quality a JPEG exporter uses before one is set.
inline constexpr int32_t kDefaultJpegCompressionQuality = 512;

// CompressionQuality 0 .. 1024 as a libjpeg quality 1 .. 100.
inline int LibjpegQuality(int32_t compressionQuality) {
  return int(std::clamp(std::lround(compressionQuality * 100.0 / 1024.0), 1L, 100L));
}

// Chroma is kept at full resolution (4:4:4) from libjpeg quality 90 on and
// halved both ways (4:2:0) below.
inline bool FullResolutionChroma(int libjpegQuality) { return libjpegQuality >= 90; }
