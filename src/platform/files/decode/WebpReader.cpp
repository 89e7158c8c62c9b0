#include "platform/files/decode/WebpReader.h"

#include "platform/files/decode/QtImageReader.h"
#include "platform/files/decode/Signature.h"

bool IsWebp(const EncodedFile& file) {
  return HasBytesAt(file.Bytes(), 0, "RIFF") && HasBytesAt(file.Bytes(), 8, "WEBP");
}

DecodeResult ReadWebp(const EncodedFile& file, PictureMemory& memory) {
  return ReadWithQt(file, memory, "webp");
}
