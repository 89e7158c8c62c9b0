#pragma once
// Inside the platform: JPEG pictures through TurboJPEG, straight into the
// picture's memory; CMYK and YCCK converted there to RGB; EXIF orientation
// applied.
#include "platform/files/decode/DecodeResult.h"

bool IsJpeg(const EncodedFile& file);
DecodeResult ReadJpeg(const EncodedFile& file, PictureMemory& memory);
