#include "platform/files/decode/MagickImageReader.h"

#include <magick/api.h>

#include <cstring>
#include <memory>
#include <mutex>

#include "platform/graphics/PictureImage.h"

namespace {

// GraphicsMagick's order of bytes that reads as QImage::Format_ARGB32.
constexpr const char* kPixelMap = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "BGRA" : "ARGB";

// GraphicsMagick's exception record for one call; any warning or error counts
// as a failure: the file is damaged.
class Exception {
 public:
  Exception() { GetExceptionInfo(&info_); }
  ~Exception() { DestroyExceptionInfo(&info_); }
  ExceptionInfo* Get() { return &info_; }
  bool Failed() const { return info_.severity != UndefinedException; }

 private:
  ExceptionInfo info_;
};

void InitializeOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    Exception exception;
    InitializeMagickEx(nullptr, MAGICK_OPT_NO_SIGNAL_HANDER, exception.Get());
    SetMagickResourceLimit(WidthResource, kMaxPictureSide);
    SetMagickResourceLimit(HeightResource, kMaxPictureSide);
    SetMagickResourceLimit(PixelsResource, int64_t(kMaxPictureSide) * kMaxPictureSide);
  });
}

struct ImageInfoDeleter {
  void operator()(ImageInfo* info) const { DestroyImageInfo(info); }
};
struct ImageDeleter {
  void operator()(Image* image) const { DestroyImageList(image); }
};

}  // namespace

DecodeResult ReadWithMagick(const EncodedFile& file, PictureMemory& memory, const char* coder) {
  InitializeOnce();
  const std::span<const uint8_t> data = file.Bytes();
  std::unique_ptr<ImageInfo, ImageInfoDeleter> info(CloneImageInfo(nullptr));
  std::strncpy(info->magick, coder, MaxTextExtent - 1);
  info->affirm = MagickTrue;  // this coder, whatever the bytes look like
  info->subimage = 0;  // the first frame only
  info->subrange = 1;
  {
    Exception exception;
    std::unique_ptr<Image, ImageDeleter> pinged(
        PingBlob(info.get(), data.data(), data.size(), exception.Get()));
    // GraphicsMagick holds 8 bytes a pixel while it decodes.
    if (!pinged || exception.Failed() ||
        !memory.Admit(int64_t(pinged->columns), int64_t(pinged->rows),
                      uint64_t(pinged->columns) * pinged->rows * 8))
      return DecodeResult::Refused();
  }
  Exception exception;
  std::unique_ptr<Image, ImageDeleter> decoded(
      BlobToImage(info.get(), data.data(), data.size(), exception.Get()));
  if (!decoded || exception.Failed()) return DecodeResult::Refused();

  const int64_t width = int64_t(decoded->columns), height = int64_t(decoded->rows);
  QImage image = memory.Take(width, height);
  if (image.isNull()) return DecodeResult::Refused();
  // ARGB32 rows have no padding, so the pixels go in with one call.
  if (DispatchImage(decoded.get(), 0, 0, width, height, kPixelMap, CharPixel, image.bits(),
                    exception.Get()) != MagickPass)
    return DecodeResult::Refused();
  return DecodeResult::Decoded(std::move(image), !decoded->matte);
}
