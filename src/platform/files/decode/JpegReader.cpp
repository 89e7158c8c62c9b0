#include "platform/files/decode/JpegReader.h"

#include <algorithm>
#include <optional>

#include "platform/files/decode/Cmyk.h"
#include "platform/files/decode/ExifOrientation.h"
#include "platform/files/decode/JpegDecompressor.h"
#include "platform/files/decode/OrientedRows.h"
#include "platform/files/decode/Signature.h"

namespace {

// libjpeg's byte order that reads as QImage::Format_ARGB32.
constexpr J_COLOR_SPACE kArgb32 = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;

// Rows asked of libjpeg at once; it gives one row of blocks at most.
constexpr int kRowsAtOnce = 16;

int OrientationOf(const jpeg_decompress_struct& info) {
  for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next)
    if (marker->marker == JPEG_APP0 + 1) {
      const int orientation = ExifOrientation({marker->data, marker->data_length});
      if (orientation != 1) return orientation;
    }
  return 1;
}

// Whether the data after the first scan's header can hold every block: with
// Huffman codes a block takes at least 2 bits in a sequential file (its DC
// and its first AC code) and 1 bit in a progressive one (its first DC scan).
// Arithmetic coding has no such bound.
bool HoldsItsBlocks(const jpeg_decompress_struct& info) {
  if (info.arith_code) return true;
  uint64_t blocks = 0;
  for (int c = 0; c < info.num_components; ++c)
    blocks += uint64_t(info.comp_info[c].width_in_blocks) * info.comp_info[c].height_in_blocks;
  const uint64_t leastBits = blocks * (info.progressive_mode ? 1 : 2);
  return info.src->bytes_in_buffer >= (leastBits + 7) / 8;
}

// A file of several scans is decoded whole into coefficients before any row
// comes out: 64 of 2 bytes a block, over the blocks of whole samplings.
uint64_t CoefficientBytes(jpeg_decompress_struct& info) {
  if (!jpeg_has_multiple_scans(&info)) return 0;
  uint64_t bytes = 0;
  for (int c = 0; c < info.num_components; ++c) {
    const jpeg_component_info& component = info.comp_info[c];
    auto roundUp = [](uint64_t value, uint64_t step) { return (value + step - 1) / step * step; };
    bytes += roundUp(component.width_in_blocks, component.h_samp_factor) *
             roundUp(component.height_in_blocks, component.v_samp_factor) * sizeof(JBLOCK);
  }
  return bytes;
}

// CMYK and YCCK come out as stored, inverted as Adobe writes them.
void CmykToArgb(QRgb* row, int width) {
  const auto* cmyk = reinterpret_cast<const uint8_t*>(row);
  for (int x = 0; x < width; ++x, cmyk += 4)
    row[x] = RgbOfInvertedCmyk(cmyk[0], cmyk[1], cmyk[2], cmyk[3]);
}

}  // namespace

bool IsJpeg(const EncodedFile& file) { return HasBytesAt(file.Bytes(), 0, "\xFF\xD8\xFF"); }

DecodeResult ReadJpeg(const EncodedFile& file, PictureMemory& memory) {
  JpegDecompressor jpeg;
  QImage image;
  std::optional<OrientedRows> rows;
  JSAMPROW pointers[kRowsAtOnce];
  const bool decoded = jpeg.Run([&](jpeg_decompress_struct& info) {
    if (!jpeg.ReadHeader(file.Bytes())) return false;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : kArgb32;
    const int orientation = OrientationOf(info);
    const int64_t width = info.image_width, height = info.image_height;
    const bool turned = OrientedRows::Turns(orientation);
    const int64_t shownWidth = turned ? height : width, shownHeight = turned ? width : height;
    if (!memory.AdmitSides(shownWidth, shownHeight) || !HoldsItsBlocks(info)) return false;
    image = memory.Take(shownWidth, shownHeight,
                        CoefficientBytes(info) + OrientedRows::WorkingBytes(width, orientation));
    if (image.isNull()) return false;
    rows.emplace(image, orientation);

    if (!jpeg_start_decompress(&info) || info.output_width != width ||
        info.output_height != height || info.output_components != 4)
      return false;
    while (info.output_scanline < info.output_height) {
      const int y = int(info.output_scanline);
      const int room = std::min(rows->Room(y), kRowsAtOnce);
      for (int i = 0; i < room; ++i) pointers[i] = reinterpret_cast<JSAMPROW>(rows->Row(y + i));
      const int count = int(jpeg_read_scanlines(&info, pointers, JDIMENSION(room)));
      if (count == 0) return false;
      if (cmyk)
        for (int i = 0; i < count; ++i) CmykToArgb(rows->Row(y + i), int(width));
      rows->Place(y, count);
    }
    return bool(jpeg_finish_decompress(&info));
  });
  if (!decoded) return DecodeResult::Refused();
  return DecodeResult::Decoded(std::move(image), true);
}
