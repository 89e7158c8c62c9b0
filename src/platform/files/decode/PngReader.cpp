#include "platform/files/decode/PngReader.h"

#include <spng.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/files/decode/ByteCursor.h"
#include "platform/files/decode/PngPixels.h"
#include "platform/files/decode/Signature.h"

namespace {

using Context = std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)>;

// What ancillary chunks (text, profiles) may take while libspng keeps them;
// a file whose chunks need more is refused.
constexpr size_t kChunkLimit = size_t(32) << 20;

// Deflate spends at least two bits on a match, and a match is at most 258
// bytes long: no stream is smaller than 1/1032 of what it inflates to.
constexpr uint64_t kDeflateMostRatio = 1032;

// Adam7's passes: columns, and first row and step of rows.
constexpr PngColumns kPassColumns[7] = {{0, 8}, {4, 8}, {0, 4}, {2, 4}, {0, 2}, {1, 2}, {0, 1}};
constexpr PngColumns kPassRows[7] = {{0, 8}, {0, 8}, {4, 8}, {0, 4}, {2, 4}, {0, 2}, {1, 2}};
constexpr PngColumns kEveryColumn = {0, 1};

uint64_t Count(uint32_t size, PngColumns columns) {
  return size > columns.first ? (size - columns.first + columns.step - 1) / columns.step : 0;
}

int BitsPerPixel(const spng_ihdr& header) {
  static constexpr int kChannels[] = {1, 0, 3, 1, 2, 0, 4};  // by colour type
  return header.color_type < 7 ? kChannels[header.color_type] * header.bit_depth : 0;
}

// The filtered scanlines, filter bytes included, that the image data
// inflates to.
uint64_t FilteredBytes(const spng_ihdr& header) {
  const uint64_t bits = uint64_t(BitsPerPixel(header));
  auto scanlines = [&](uint64_t width, uint64_t height) {
    return width && height ? height * (1 + (width * bits + 7) / 8) : 0;
  };
  if (header.interlace_method == SPNG_INTERLACE_NONE)
    return scanlines(header.width, header.height);
  uint64_t total = 0;
  for (int pass = 0; pass < 7; ++pass)
    total += scanlines(Count(header.width, kPassColumns[pass]),
                       Count(header.height, kPassRows[pass]));
  return total;
}

// The image data in the file: the IDAT chunks' lengths added up, up to the
// first chunk that the file does not hold whole.
uint64_t ImageDataBytes(std::span<const uint8_t> png) {
  ByteCursor chunks(png, 8);
  uint64_t total = 0;
  while (chunks.Ok()) {
    const uint32_t length = chunks.BigEndian(4);
    const uint8_t* type = chunks.Take(4);
    if (!chunks.Skip(uint64_t(length) + 4)) break;  // the data and its CRC
    if (std::memcmp(type, "IDAT", 4) == 0) total += length;
    if (std::memcmp(type, "IEND", 4) == 0) break;
  }
  return total;
}

}  // namespace

bool IsPng(const EncodedFile& file) {
  return HasBytesAt(file.Bytes(), 0, std::string_view("\x89PNG\r\n\x1A\n", 8));
}

DecodeResult ReadPng(const EncodedFile& file, PictureMemory& memory) {
  const std::span<const uint8_t> png = file.Bytes();
  Context context(spng_ctx_new(0), spng_ctx_free);
  spng_ctx* ctx = context.get();
  spng_ihdr header{};
  // Any CRC error, in an ancillary chunk too, is damage.
  if (!ctx || spng_set_crc_action(ctx, SPNG_CRC_ERROR, SPNG_CRC_ERROR) != 0 ||
      spng_set_chunk_limits(ctx, kChunkLimit, kChunkLimit) != 0 ||
      spng_set_png_buffer(ctx, png.data(), png.size()) != 0 || spng_get_ihdr(ctx, &header) != 0)
    return DecodeResult::Refused();

  PngPixels pixels;
  if (!pixels.Prepare(ctx, header)) return DecodeResult::Refused();
  // Beside the picture: the scanline here, and libspng's scanlines and rows.
  const uint64_t workingBytes = uint64_t(header.width) * 8 * 4;
  if (!memory.AdmitSides(header.width, header.height) ||
      ImageDataBytes(png) * kDeflateMostRatio < FilteredBytes(header))
    return DecodeResult::Refused();
  QImage image = memory.Take(header.width, header.height, workingBytes);
  if (image.isNull()) return DecodeResult::Refused();

  if (spng_decode_image(ctx, nullptr, 0, pixels.Format(),
                        pixels.DecodeFlags() | SPNG_DECODE_PROGRESSIVE) != 0)
    return DecodeResult::Refused();
  const bool interlaced = header.interlace_method != SPNG_INTERLACE_NONE;
  std::vector<uint8_t> scanline(pixels.ScanlineBytes(header.width));
  int status = 0;
  do {
    spng_row_info row{};
    if (spng_get_row_info(ctx, &row) != 0) return DecodeResult::Refused();
    status = spng_decode_scanline(ctx, scanline.data(), scanline.size());
    if (status != 0 && status != SPNG_EOI) return DecodeResult::Refused();
    pixels.Place(scanline.data(), header.width,
                 interlaced ? kPassColumns[row.pass] : kEveryColumn,
                 reinterpret_cast<QRgb*>(image.scanLine(int(row.row_num))));
  } while (status != SPNG_EOI);
  // The rest of the file up to IEND, with its CRCs.
  if (spng_decode_chunks(ctx) != 0) return DecodeResult::Refused();
  return DecodeResult::Decoded(std::move(image), pixels.Opaque());
}
