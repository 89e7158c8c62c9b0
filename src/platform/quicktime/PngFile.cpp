#include "platform/quicktime/PngFile.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>

namespace {
constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint8_t kColourRgb = 2, kColourRgba = 6;

uint8_t* PutBigEndian(uint32_t value, uint8_t* out) {
  for (int shift = 24; shift >= 0; shift -= 8) *out++ = uint8_t(value >> shift);
  return out;
}

// A chunk: length, type, data and the CRC of type and data.
uint8_t* PutChunk(const char (&type)[5], std::span<const uint8_t> data, uint8_t* out) {
  out = PutBigEndian(uint32_t(data.size()), out);
  uint8_t* const typeStart = out;
  std::memcpy(out, type, 4);
  if (!data.empty()) std::memcpy(out + 4, data.data(), data.size());
  out += 4 + data.size();
  return PutBigEndian(libdeflate_crc32(0, typeStart, 4 + data.size()), out);
}
}  // namespace

void AssemblePng(uint32_t width, uint32_t height, bool alpha, std::span<const uint8_t> zlibStream,
                 std::vector<uint8_t>& file) {
  constexpr size_t kChunkFrame = 12;  // length, type and CRC
  constexpr size_t kHeaderData = 13;
  const size_t idatChunks = std::max<size_t>(1, (zlibStream.size() + kLargestIdatChunk - 1) / kLargestIdatChunk);
  file.resize(sizeof kSignature + kChunkFrame + kHeaderData + idatChunks * kChunkFrame + zlibStream.size() +
              kChunkFrame);
  uint8_t* out = std::copy(std::begin(kSignature), std::end(kSignature), file.data());

  uint8_t header[kHeaderData] = {};
  PutBigEndian(height, PutBigEndian(width, header));
  header[8] = 8;  // bits per sample; compression, filter method and interlace stay 0
  header[9] = alpha ? kColourRgba : kColourRgb;
  out = PutChunk("IHDR", header, out);
  for (size_t at = 0; at == 0 || at < zlibStream.size(); at += kLargestIdatChunk)
    out = PutChunk("IDAT", zlibStream.subspan(at, std::min(kLargestIdatChunk, zlibStream.size() - at)), out);
  PutChunk("IEND", {}, out);
}
