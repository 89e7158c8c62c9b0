#pragma once
// Inside the platform: Qt's reader of one named format, over the file's bytes.
#include "platform/files/decode/DecodeResult.h"

// Decodes the file with Qt's reader for that format (Qt's name: "png",
// "tiff", ...), never another one, EXIF orientation applied.
DecodeResult ReadWithQt(const EncodedFile& file, PictureMemory& memory, const char* format);
