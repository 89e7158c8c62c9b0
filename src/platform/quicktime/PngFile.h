#pragma once
// Inside the graphics exporter: the chunks of a PNG file around its
// compressed scanlines.
#include <cstdint>
#include <span>
#include <vector>

// Largest IDAT chunk written; the zlib stream is split across as many as it
// needs.
inline constexpr size_t kLargestIdatChunk = size_t(1) << 20;

// The whole file into file: signature, IHDR (8-bit RGB, or RGBA with alpha,
// not interlaced), the zlib stream in IDAT chunks, IEND.
void AssemblePng(uint32_t width, uint32_t height, bool alpha, std::span<const uint8_t> zlibStream,
                 std::vector<uint8_t>& file);
