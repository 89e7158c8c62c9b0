#include "platform/quicktime/PsdTileEncoder.h"

#include <FreeImage.h>

#include <QImage>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "platform/graphics/PictureImage.h"
#include "platform/quicktime/FreeImageMessage.h"
#include "platform/quicktime/TileFile.h"
#include "platform/quicktime/TilePixels.h"

namespace {
// A Photoshop document (PSD) holds at most 30000 pixels a side and 2 GB; a
// larger tile is written as a large document (PSB).
constexpr int kLargestPsdSide = 30000;
constexpr uint64_t kLargestPsdBytes = (uint64_t(1) << 31) - 1;
constexpr uint64_t kHeaderBytes = 64 << 10;  // beside the channels, with room to spare

bool NeedsLargeDocument(const QImage& tile, int channels) {
  return tile.width() > kLargestPsdSide || tile.height() > kLargestPsdSide ||
         uint64_t(tile.width()) * uint64_t(tile.height()) * uint64_t(channels) + kHeaderBytes >
             kLargestPsdBytes;
}

// FreeImage's file access, over the stream of the file being written.
unsigned ReadFile(void* buffer, unsigned size, unsigned count, fi_handle file) {
  return unsigned(std::fread(buffer, size, count, static_cast<FILE*>(file)));
}
unsigned WriteFile(void* buffer, unsigned size, unsigned count, fi_handle file) {
  return unsigned(std::fwrite(buffer, size, count, static_cast<FILE*>(file)));
}
int SeekFile(fi_handle file, long offset, int origin) {
  return std::fseek(static_cast<FILE*>(file), offset, origin);
}
long TellFile(fi_handle file) { return std::ftell(static_cast<FILE*>(file)); }

struct BitmapDeleter {
  void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};

// The tile as a FreeImage bitmap (stored bottom-up), 24 or 32 bits a pixel.
FIBITMAP* NewBitmap(const QImage& tile, bool alpha) {
  const int width = tile.width();
  const int height = tile.height();
  FIBITMAP* bitmap =
      FreeImage_Allocate(width, height, alpha ? 32 : 24, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
  if (!bitmap) return nullptr;
  const int bytesPerPixel = alpha ? 4 : 3;
  for (int y = 0; y < height; ++y) {
    const auto* source = reinterpret_cast<const QRgb*>(tile.constScanLine(y));
    BYTE* target = FreeImage_GetScanLine(bitmap, height - 1 - y);
    for (int x = 0; x < width; ++x, target += bytesPerPixel) {
      const QRgb pixel = source[x];
      target[FI_RGBA_RED] = BYTE(qRed(pixel));
      target[FI_RGBA_GREEN] = BYTE(qGreen(pixel));
      target[FI_RGBA_BLUE] = BYTE(qBlue(pixel));
      if (alpha) target[FI_RGBA_ALPHA] = BYTE(qAlpha(pixel));
    }
  }
  return bitmap;
}
}  // namespace

bool PsdTileEncoder::Save(const PictureImage& tile, const TilePath& path, std::string& error) {
  ClearFreeImageMessage();
  const bool alpha = HasTransparentPixel(tile);
  std::unique_ptr<FIBITMAP, BitmapDeleter> bitmap(NewBitmap(tile.image, alpha));
  const int flags = PSD_NONE | (NeedsLargeDocument(tile.image, alpha ? 4 : 3) ? PSD_PSB : 0);
  FreeImageIO io{ReadFile, WriteFile, SeekFile, TellFile};
  bool encoderFailed = !bitmap;
  // Straight into the file: FreeImage's memory stream stops at 2 GB.
  auto write = [&](FILE* file) {
    if (FreeImage_SaveToHandle(FIF_PSD, bitmap.get(), &io, file, flags)) return true;
    encoderFailed = !std::ferror(file);  // FreeImage's failure, not the file's
    return false;
  };
  if (bitmap && ReplaceFileWriting(path, write, error)) return true;
  if (encoderFailed)
    error = "Photoshop: " +
            (FreeImageMessage().empty() ? std::string("cannot write the image") : FreeImageMessage());
  return false;
}
