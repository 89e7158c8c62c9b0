#pragma once
// Inside the platform: JPEG pictures through libjpeg, each row decoded into
// the picture where its EXIF orientation shows it (a turned picture through a
// band of rows); CMYK and YCCK converted there to RGB.
#include "platform/files/decode/DecodeResult.h"

bool IsJpeg(const EncodedFile& file);
DecodeResult ReadJpeg(const EncodedFile& file, PictureMemory& memory);
