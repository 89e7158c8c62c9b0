#include "platform/quicktime/JpegTileEncoder.h"

#include "platform/quicktime/TileFile.h"
#include "platform/quicktime/TilePixels.h"

namespace {
// Format_RGB32 / ARGB32 in memory order; the alpha byte is not read.
constexpr int kPixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;

std::string TurboJpegError(tjhandle handle) { return std::string("JPEG: ") + tjGetErrorStr2(handle); }
}  // namespace

JpegTileEncoder::~JpegTileEncoder() {
  if (compressor_) tjDestroy(compressor_);
}

bool JpegTileEncoder::Save(const QImage& tile, const TilePath& path, std::string& error) {
  if (!compressor_ && !(compressor_ = tjInitCompress())) {
    error = TurboJpegError(nullptr);
    return false;
  }
  const QImage* pixels = &tile;
  if (HasTransparentPixel(tile)) {
    FlattenOntoWhite(tile, flattened_);
    pixels = &flattened_;
  }
  const int quality = LibjpegQuality(quality_);
  const int subsampling = FullResolutionChroma(quality) ? TJSAMP_444 : TJSAMP_420;
  const unsigned long worstCase = tjBufSize(tile.width(), tile.height(), subsampling);
  if (worstCase == static_cast<unsigned long>(-1)) {
    error = TurboJpegError(nullptr);
    return false;
  }
  // The buffer is ours: with TJFLAG_NOREALLOC TurboJPEG writes into it and
  // never replaces it.
  if (output_.size() < worstCase) output_.resize(worstCase);
  unsigned char* output = output_.data();
  unsigned long size = output_.size();
  if (tjCompress2(compressor_, pixels->constBits(), pixels->width(), int(pixels->bytesPerLine()), pixels->height(),
                  kPixelFormat, &output, &size, subsampling, quality, TJFLAG_NOREALLOC) != 0) {
    error = TurboJpegError(compressor_);
    return false;
  }
  return ReplaceFileWith(path, output, size, error);
}
