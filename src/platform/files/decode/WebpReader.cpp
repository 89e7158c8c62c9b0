#include "platform/files/decode/WebpReader.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <QRect>
#include <memory>

#include "platform/files/decode/ByteCursor.h"
#include "platform/files/decode/FillOutside.h"
#include "platform/files/decode/Signature.h"

namespace {

// libwebp's byte order that reads as QImage::Format_ARGB32, straight alpha.
constexpr WEBP_CSP_MODE kMode = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? MODE_BGRA : MODE_ARGB;
// libwebp's code for lossless data.
constexpr int kLossless = 2;

using Demuxer = std::unique_ptr<WebPDemuxer, decltype(&WebPDemuxDelete)>;

// Whether the file is as long as its RIFF header says.
bool HoldsItsChunks(std::span<const uint8_t> webp) {
  ByteCursor riff(webp, 4);
  const uint64_t size = riff.LittleEndian(4);
  return riff.Ok() && webp.size() >= size + 8;
}

// What libwebp takes beside the picture to decode a bitstream of w x h
// pixels: a lossless one keeps all its pixels, a lossy one its alpha plane.
uint64_t WorkingBytes(const WebPBitstreamFeatures& features) {
  const uint64_t pixels = uint64_t(features.width) * uint64_t(features.height);
  if (features.format == kLossless) return pixels * 4;
  return features.has_alpha ? pixels : 0;
}

// Decodes a bitstream straight into the picture, its top left at (left, top).
bool DecodeInto(WebPData bitstream, QImage& image, int left, int top) {
  WebPDecoderConfig config;
  if (!WebPInitDecoderConfig(&config)) return false;
  uchar* origin = image.bits() + qsizetype(top) * image.bytesPerLine() + qsizetype(left) * 4;
  config.output.colorspace = kMode;
  config.output.is_external_memory = 1;
  config.output.u.RGBA.rgba = origin;
  config.output.u.RGBA.stride = int(image.bytesPerLine());
  config.output.u.RGBA.size = size_t(image.bits() + image.sizeInBytes() - origin);
  return WebPDecode(bitstream.bytes, bitstream.size, &config) == VP8_STATUS_OK;
}

// An animation shows its first frame where it stands on the canvas, on
// transparency.
DecodeResult ReadFirstFrame(WebPData file, PictureMemory& memory) {
  const Demuxer demuxer(WebPDemux(&file), WebPDemuxDelete);
  WebPIterator frame{};
  if (!demuxer || !WebPDemuxGetFrame(demuxer.get(), 1, &frame)) return DecodeResult::Refused();
  const std::unique_ptr<WebPIterator, decltype(&WebPDemuxReleaseIterator)> release(
      &frame, WebPDemuxReleaseIterator);
  WebPBitstreamFeatures features{};
  if (WebPGetFeatures(frame.fragment.bytes, frame.fragment.size, &features) != VP8_STATUS_OK)
    return DecodeResult::Refused();
  const QRect canvas(0, 0, int(WebPDemuxGetI(demuxer.get(), WEBP_FF_CANVAS_WIDTH)),
                     int(WebPDemuxGetI(demuxer.get(), WEBP_FF_CANVAS_HEIGHT)));
  const QRect area(frame.x_offset, frame.y_offset, features.width, features.height);
  if (!memory.AdmitSides(canvas.width(), canvas.height()) || !canvas.contains(area))
    return DecodeResult::Refused();
  QImage image = memory.Take(canvas.width(), canvas.height(), WorkingBytes(features));
  if (image.isNull() || !DecodeInto(frame.fragment, image, frame.x_offset, frame.y_offset))
    return DecodeResult::Refused();
  FillOutside(image, area, 0);
  const bool opaque = !features.has_alpha && area == image.rect();
  return DecodeResult::Decoded(std::move(image), opaque);
}

}  // namespace

bool IsWebp(const EncodedFile& file) {
  return HasBytesAt(file.Bytes(), 0, "RIFF") && HasBytesAt(file.Bytes(), 8, "WEBP");
}

DecodeResult ReadWebp(const EncodedFile& file, PictureMemory& memory) {
  const std::span<const uint8_t> webp = file.Bytes();
  WebPBitstreamFeatures features{};
  if (!HoldsItsChunks(webp) ||
      WebPGetFeatures(webp.data(), webp.size(), &features) != VP8_STATUS_OK)
    return DecodeResult::Refused();
  if (features.has_animation) return ReadFirstFrame({webp.data(), webp.size()}, memory);
  QImage image = memory.Take(features.width, features.height, WorkingBytes(features));
  if (image.isNull() || !DecodeInto({webp.data(), webp.size()}, image, 0, 0))
    return DecodeResult::Refused();
  return DecodeResult::Decoded(std::move(image), !features.has_alpha);
}
