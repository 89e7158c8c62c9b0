#include "platform/quicktime/MagickTileEncoder.h"

#include <magick/api.h>

#include <QImage>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/graphics/PictureImage.h"
#include "platform/quicktime/TileFile.h"
#include "platform/quicktime/TilePixels.h"

namespace {
// ARGB32 in memory order; "P" skips the alpha byte. ConstituteImage expects
// rows without padding, as an ARGB32 image of its own has.
constexpr const char* kMapWithAlpha = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "BGRA" : "ARGB";
constexpr const char* kMapOpaque = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "BGRP" : "PRGB";

// Initialises GraphicsMagick once, without its signal handlers; the process
// keeps the handlers it has.
void InitializeGraphicsMagick() {
  static std::once_flag once;
  std::call_once(once, [] {
    ExceptionInfo exception;
    GetExceptionInfo(&exception);
    InitializeMagickEx(nullptr, MAGICK_OPT_NO_SIGNAL_HANDER, &exception);
    DestroyExceptionInfo(&exception);
  });
}

struct Exception {
  ExceptionInfo info;
  Exception() { GetExceptionInfo(&info); }
  ~Exception() { DestroyExceptionInfo(&info); }
  Exception(const Exception&) = delete;
  Exception& operator=(const Exception&) = delete;
  std::string Message(const std::string& format) const {
    std::string message = format + ": " + (info.reason ? info.reason : "cannot write the image");
    if (info.description) message += std::string(" (") + info.description + ")";
    return message;
  }
};

struct ImageDeleter {
  void operator()(Image* image) const { DestroyImage(image); }
};
struct ImageInfoDeleter {
  void operator()(ImageInfo* info) const { DestroyImageInfo(info); }
};
struct BlobDeleter {
  void operator()(void* blob) const { MagickFree(blob); }
};
}  // namespace

bool MagickTileEncoder::Save(const PictureImage& tile, const TilePath& path, std::string& error) {
  InitializeGraphicsMagick();
  Exception exception;
  const bool alpha = HasTransparentPixel(tile);
  // Rows that lie inside a larger picture's are copied out first.
  const QImage pixels =
      tile.image.bytesPerLine() == qsizetype(tile.image.width()) * 4 ? tile.image : tile.image.copy();
  std::unique_ptr<Image, ImageDeleter> image(ConstituteImage(
      pixels.width(), pixels.height(), alpha ? kMapWithAlpha : kMapOpaque, CharPixel, pixels.constBits(),
      &exception.info));
  std::unique_ptr<ImageInfo, ImageInfoDeleter> info(CloneImageInfo(nullptr));
  if (!image || !info) {
    error = exception.Message(magick_);
    return false;
  }
  // True colour always: a tile of few colours is not turned into a palette.
  info->type = alpha ? TrueColorMatteType : TrueColorType;
  std::strncpy(info->magick, magick_.c_str(), MaxTextExtent - 1);
  std::strncpy(image->magick, magick_.c_str(), MaxTextExtent - 1);
  size_t size = 0;
  std::unique_ptr<void, BlobDeleter> blob(ImageToBlob(info.get(), image.get(), &size, &exception.info));
  if (!blob || exception.info.severity >= ErrorException) {
    error = exception.Message(magick_);
    return false;
  }
  return ReplaceFileWith(path, blob.get(), size, error);
}
