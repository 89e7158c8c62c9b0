#include "image/ImageTools.h"

#include "platform/graphics/Graphics.h"
#include "platform/runtime/Conversions.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "ui/Window1.h"

namespace {
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kMagenta = 0xFF00FF;

// A tile side read from a size field; below 1 it counts as 1.
int32_t GridTileSide(const Ref<TextField>& field) {
  double v = Val(NotNil(field)->Text());
  return v < 1.0 ? 1 : RuntimeCvtReal64ToSInt32(v);
}

// Grid lines across one side: the number of tiles less one.
int32_t GridLines(int32_t imageSide, int32_t tileSide) {
  double c = Ceil(RuntimeCvtSInt32ToReal64(imageSide) / RuntimeCvtSInt32ToReal64(tileSide));
  return c < 1.0 ? 0 : RuntimeCvtReal64ToSInt32(c - 1.0);
}

// Where line number i stands: the boundary i x tileSide of the full-size
// picture, scaled and rounded on its own, shifted by the preview's offset.
int32_t GridPosition(int32_t centre, int32_t previewSide, int32_t imageSide, int32_t tileSide,
                     int32_t i) {
  double ratio = RuntimeCvtSInt32ToReal64(previewSide) / RuntimeCvtSInt32ToReal64(imageSide);
  double offset = RuntimeCvtSInt32ToReal64(centre) - RuntimeCvtSInt32ToReal64(previewSide) / 2.0;
  double b = (RuntimeCvtSInt32ToReal64(tileSide) * ratio) * RuntimeCvtSInt32ToReal64(i);
  return RuntimeCvtReal64ToSInt32(offset + Round(b));
}
}  // namespace

Ref<Picture> ImageTools::NewPictureOrRaise(int32_t width, int32_t height) {
  Ref<Picture> picture = NewPicture(width, height, 32);
  if (!picture)
    throw OutOfMemoryException("Vamor could not make a picture of " + Str(width) + " x " +
                               Str(height) + " pixels: there is not enough memory.");
  return picture;
}

void ImageTools::MakePreview() {
  if (!OriginalImage || !PreviewImage) return;
  int32_t tileW = GridTileSide(NotNil(Window1())->txtWidth());
  int32_t tileH = GridTileSide(NotNil(Window1())->txtHeight());
  int32_t linesX = GridLines(OriginalImage->Width(), tileW);
  int32_t linesY = GridLines(OriginalImage->Height(), tileH);

  WorkingImage = NewPictureOrRaise(kPreviewWidth, kPreviewHeight);
  Ref<Graphics> g = WorkingImage->Graphics();
  g->ForeColor(kWhite);
  g->FillRect(0, 0, kPreviewWidth, kPreviewHeight);
  constexpr int32_t cx = kPreviewWidth / 2, cy = kPreviewHeight / 2;
  double offX = cx - RuntimeCvtSInt32ToReal64(PreviewImage->Width()) / 2.0;
  double offY = cy - RuntimeCvtSInt32ToReal64(PreviewImage->Height()) / 2.0;
  g->DrawPicture(PreviewImage, RuntimeCvtReal64ToSInt32(offX), RuntimeCvtReal64ToSInt32(offY));

  g->ForeColor(kMagenta);
  for (int32_t i = 1; i <= linesX; ++i) {
    int32_t x = GridPosition(cx, PreviewImage->Width(), OriginalImage->Width(), tileW, i);
    g->DrawLine(x, 0, x, kPreviewHeight);
    RuntimeBackgroundTask();
  }
  for (int32_t j = 1; j <= linesY; ++j) {
    int32_t y = GridPosition(cy, PreviewImage->Height(), OriginalImage->Height(), tileH, j);
    g->DrawLine(0, y, kPreviewWidth, y);
    RuntimeBackgroundTask();
  }
  NotNil(Window1())->Canvas1()->Backdrop(WorkingImage);
}
