#include "platform/files/decode/GifReader.h"

#include "platform/files/decode/QtImageReader.h"
#include "platform/files/decode/Signature.h"

bool IsGif(const EncodedFile& file) {
  return HasBytesAt(file.Bytes(), 0, "GIF87a") || HasBytesAt(file.Bytes(), 0, "GIF89a");
}

DecodeResult ReadGif(const EncodedFile& file, PictureMemory& memory) {
  return ReadWithQt(file, memory, "gif");
}
