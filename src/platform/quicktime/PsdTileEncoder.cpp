#include "platform/quicktime/PsdTileEncoder.h"

#include <FreeImage.h>

#include <QImage>
#include <memory>
#include <mutex>

#include "platform/graphics/PictureImage.h"
#include "platform/quicktime/TileFile.h"
#include "platform/quicktime/TilePixels.h"

namespace {
// Photoshop's limit for a side of a PSD file; larger tiles are written in
// the large document format (PSB).
constexpr int kLargestPsdSide = 30000;

// FreeImage reports why a save failed through a callback.
std::string lastFreeImageMessage;

void ListenToFreeImage() {
  static std::once_flag once;
  std::call_once(once, [] {
    FreeImage_SetOutputMessage([](FREE_IMAGE_FORMAT, const char* message) {
      lastFreeImageMessage = message ? message : "";
    });
  });
}

struct BitmapDeleter {
  void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
struct MemoryDeleter {
  void operator()(FIMEMORY* memory) const { FreeImage_CloseMemory(memory); }
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
  ListenToFreeImage();
  lastFreeImageMessage.clear();
  std::unique_ptr<FIBITMAP, BitmapDeleter> bitmap(NewBitmap(tile.image, HasTransparentPixel(tile)));
  std::unique_ptr<FIMEMORY, MemoryDeleter> memory(FreeImage_OpenMemory());
  const bool large = tile.image.width() > kLargestPsdSide || tile.image.height() > kLargestPsdSide;
  BYTE* data = nullptr;
  DWORD size = 0;
  if (!bitmap || !memory || !FreeImage_SaveToMemory(FIF_PSD, bitmap.get(), memory.get(), PSD_NONE | (large ? PSD_PSB : 0)) ||
      !FreeImage_AcquireMemory(memory.get(), &data, &size)) {
    error = "Photoshop: " + (lastFreeImageMessage.empty() ? std::string("cannot write the image") : lastFreeImageMessage);
    return false;
  }
  return ReplaceFileWith(path, data, size, error);
}
