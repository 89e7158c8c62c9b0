#pragma once
// Inside the platform: what a format's reader made of a file.
#include <QImage>

#include "platform/files/decode/EncodedFile.h"
#include "platform/files/decode/PictureMemory.h"

struct DecodeResult {
  QImage image;         // Format_ARGB32, straight alpha; null when the file gave no picture
  bool opaque = false;  // every pixel is opaque

  static DecodeResult Decoded(QImage image, bool opaque) { return {std::move(image), opaque}; }
  // No picture: the reader's PictureMemory has recorded why, or the file is
  // damaged (the failure's default).
  static DecodeResult Refused() { return {}; }
};

// A reader decodes a file of its format, taking the picture's memory only
// through memory, and only once it has checked that the file holds the
// picture's data.
using Reader = DecodeResult (*)(const EncodedFile& file, PictureMemory& memory);
