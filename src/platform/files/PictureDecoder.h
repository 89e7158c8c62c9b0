#pragma once
// Inside the platform: decodes a picture file at full size.
#include <string>

#include "platform/runtime/Object.h"

class Picture;

// The picture in the file, EXIF orientation applied, or Nil when the file is
// missing, is no picture, is truncated or corrupt, claims a side above 32767
// or needs more memory than can be had.
Ref<Picture> DecodePictureFile(const std::string& path);
