#include "platform/graphics/Picture.h"

#include <new>

#include "platform/graphics/Graphics.h"
#include "platform/graphics/PictureImage.h"

const ClassRecord* Picture::Lookup_() {
  static const ClassRecord* record =
      RuntimeRegisterClass({.name = "Picture", .superclass = &Object::Lookup_});
  return record;
}

Picture::Picture(std::unique_ptr<PictureImage> image) : image_(std::move(image)) {}
Picture::~Picture() = default;

int32_t Picture::Width() const { return image_->image.width(); }
int32_t Picture::Height() const { return image_->image.height(); }

Ref<::Graphics> Picture::Graphics() {
  return std::make_shared<::Graphics>(std::static_pointer_cast<Picture>(shared_from_this()));
}

namespace {
bool SideInRange(int32_t side) { return side >= 1 && side <= kMaxPictureSide; }

Ref<Picture> Wrap(QImage image, bool opaque, bool blank) {
  auto held = std::make_unique<PictureImage>();
  held->image = std::move(image);
  held->opaque = opaque;
  held->blank = blank;
  return std::make_shared<Picture>(std::move(held));
}
}  // namespace

Ref<Picture> NewPicture(int32_t width, int32_t height, int32_t /*depth: always 32 bits*/) {
  if (!SideInRange(width) || !SideInRange(height)) return nullptr;
  try {
    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull()) return nullptr;
    image.fill(0);
    return Wrap(std::move(image), false, true);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

Ref<Picture> PictureFromImage(QImage image, bool opaque) {
  if (image.isNull() || !SideInRange(image.width()) || !SideInRange(image.height()))
    return nullptr;
  try {
    image.convertTo(QImage::Format_ARGB32);
    if (image.isNull()) return nullptr;
    return Wrap(std::move(image), opaque, false);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
