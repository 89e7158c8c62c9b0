#pragma once
// Inside the platform: decodes a picture file at full size.
#include <cstdint>
#include <span>
#include <string>

#include "platform/files/PictureOpenFailure.h"
#include "platform/runtime/Object.h"

class Picture;

// The picture in the file, EXIF orientation applied; Nil, with failure saying
// why, when the file cannot be read, is no picture of a format that opens, is
// truncated or corrupt, claims a side above 32767 or needs more memory than
// the process can have. A refusal takes no more than the file's size and a
// few rows beside it.
Ref<Picture> DecodePictureFile(const std::string& path, PictureOpenFailure& failure);
// The same for bytes held as the content of a file of that extension (lower
// case, without the dot).
Ref<Picture> DecodePictureBytes(std::span<const uint8_t> bytes, const std::string& extension,
                                PictureOpenFailure& failure);

inline Ref<Picture> DecodePictureFile(const std::string& path) {
  PictureOpenFailure ignored;
  return DecodePictureFile(path, ignored);
}
