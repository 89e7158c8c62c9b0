#pragma once
// The framework's bitmap: straight (not premultiplied) 8-bit RGBA.
#include <cstdint>
#include <memory>

#include "platform/runtime/Object.h"

class Graphics;
struct PictureImage;

class Picture : public Object {
 public:
  explicit Picture(std::unique_ptr<PictureImage> image);
  ~Picture() override;
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }

  int32_t Width() const;
  int32_t Height() const;
  // The picture's drawing context. The pen colour lives with the picture, so
  // it stays in force for later drawing contexts of the same picture.
  Ref<::Graphics> Graphics();

  PictureImage& Image() { return *image_; }
  const PictureImage& Image() const { return *image_; }

 private:
  std::unique_ptr<PictureImage> image_;
};

// A new, fully transparent picture; Nil when it cannot be made (a side below
// 1 or above 32767, or not enough memory). Every depth is held as 32 bits.
Ref<Picture> NewPicture(int32_t width, int32_t height, int32_t depth);
