#pragma once
// Inside the platform: JPEG through TurboJPEG, straight into the picture's
// buffer. CMYK and YCCK files are left to another decoder.
#include "platform/files/decode/DecodeResult.h"

DecodeResult DecodeJpeg(const QString& path, QByteArrayView head);
