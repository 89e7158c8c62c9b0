#pragma once
// Inside the platform: JPEG through TurboJPEG, straight into the picture's
// buffer; CMYK and YCCK converted there to RGB.
#include "platform/files/decode/DecodeResult.h"

DecodeResult DecodeJpeg(const QString& path, QByteArrayView head);
