#pragma once
// Inside the platform: every format Qt's image readers know, told by the
// file's content, EXIF orientation applied.
#include "platform/files/decode/DecodeResult.h"

DecodeResult DecodeWithQt(const QString& path, QByteArrayView head);
