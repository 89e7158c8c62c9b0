#include "platform/files/decode/MagickDecoder.h"

#include <magick/api.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <mutex>

#include "platform/graphics/PictureImage.h"

namespace {

// GraphicsMagick's names of the formats it reads here, as it recognises them
// from a file's first bytes.
constexpr const char* kByContent[] = {"SGI", "PCX", "DCX", "SUN", "VIFF", "MIFF", "DPX",
                                      "CINEON", "FITS", "XCF", "DCM", "PAM"};
constexpr const char* kTargaExtensions[] = {"tga", "icb", "vda", "vst"};

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
    GetMagickInfo("*", exception.Get());  // registers every format, so that
                                          // GetImageMagick knows their signatures
    SetMagickResourceLimit(WidthResource, kMaxPictureSide);
    SetMagickResourceLimit(HeightResource, kMaxPictureSide);
    SetMagickResourceLimit(PixelsResource, int64_t(kMaxPictureSide) * kMaxPictureSide);
  });
}

// The format to read the file as, or nullptr when it is none of ours.
const char* FormatOf(const QString& path, QByteArrayView head) {
  const char* found =
      GetImageMagick(reinterpret_cast<const unsigned char*>(head.data()), size_t(head.size()));
  if (found) {
    auto known = std::find_if(std::begin(kByContent), std::end(kByContent),
                              [&](const char* name) { return std::strcmp(name, found) == 0; });
    return known == std::end(kByContent) ? nullptr : *known;
  }
  const QString suffix = QFileInfo(path).suffix().toLower();
  auto targa = std::find_if(std::begin(kTargaExtensions), std::end(kTargaExtensions),
                            [&](const char* extension) { return suffix == extension; });
  return targa == std::end(kTargaExtensions) ? nullptr : "TGA";
}

struct ImageInfoDeleter {
  void operator()(ImageInfo* info) const { DestroyImageInfo(info); }
};
struct ImageDeleter {
  void operator()(Image* image) const { DestroyImageList(image); }
};

}  // namespace

DecodeResult DecodeWithMagick(const QString& path, QByteArrayView head) {
  if (head.isEmpty()) return DecodeResult::NotMine();
  InitializeOnce();
  const char* format = FormatOf(path, head);
  if (!format) return DecodeResult::NotMine();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return DecodeResult::Refused();
  const QByteArray data = file.readAll();

  std::unique_ptr<ImageInfo, ImageInfoDeleter> info(CloneImageInfo(nullptr));
  std::strncpy(info->magick, format, MaxTextExtent - 1);
  info->subimage = 0;  // the first frame only
  info->subrange = 1;
  {
    Exception exception;
    std::unique_ptr<Image, ImageDeleter> pinged(
        PingBlob(info.get(), data.constData(), size_t(data.size()), exception.Get()));
    if (!pinged || exception.Failed() || pinged->columns > kMaxPictureSide ||
        pinged->rows > kMaxPictureSide)
      return DecodeResult::Refused();
  }
  Exception exception;
  std::unique_ptr<Image, ImageDeleter> decoded(
      BlobToImage(info.get(), data.constData(), size_t(data.size()), exception.Get()));
  if (!decoded || exception.Failed() || decoded->columns > kMaxPictureSide ||
      decoded->rows > kMaxPictureSide)
    return DecodeResult::Refused();

  const int width = int(decoded->columns), height = int(decoded->rows);
  QImage image(width, height, QImage::Format_ARGB32);
  if (image.isNull()) return DecodeResult::Refused();
  // ARGB32 rows have no padding, so the pixels go in with one call.
  if (DispatchImage(decoded.get(), 0, 0, width, height, kPixelMap, CharPixel, image.bits(),
                    exception.Get()) != MagickPass)
    return DecodeResult::Refused();
  return DecodeResult::Decoded(std::move(image), !decoded->matte);
}
