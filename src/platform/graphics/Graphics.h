#pragma once
// The drawing context of a picture.
#include <cstdint>

#include "platform/runtime/Object.h"

class Picture;

// Stands for a size argument that is not given: a destination size equals the
// source size, a source size is the picture's whole width or height.
inline constexpr int32_t kNotGiven = -10000;

class Graphics : public Object {
 public:
  explicit Graphics(Ref<Picture> target);
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }

  // Pen colour, 0xRRGGBB.
  void ForeColor(int32_t rgb);
  int32_t ForeColor() const;
  void FillRect(int32_t x, int32_t y, int32_t width, int32_t height);
  // One-pixel line in the pen colour, both end points included.
  void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  // Draws the source rectangle of the picture into the destination rectangle,
  // source over. At 1:1 onto transparent pixels it is a bit-exact copy; when it
  // scales down it averages areas. Parts of the source rectangle outside the
  // picture draw nothing.
  void DrawPicture(const Ref<Picture>& picture, int32_t x, int32_t y, int32_t width = kNotGiven,
                   int32_t height = kNotGiven, int32_t sourceX = 0, int32_t sourceY = 0,
                   int32_t sourceWidth = kNotGiven, int32_t sourceHeight = kNotGiven);

 private:
  Ref<Picture> target_;
};
