#include "platform/files/decode/BmpReader.h"

#include "platform/files/decode/QtImageReader.h"
#include "platform/files/decode/Signature.h"

bool IsBmp(const EncodedFile& file) { return HasBytesAt(file.Bytes(), 0, "BM"); }

DecodeResult ReadBmp(const EncodedFile& file, PictureMemory& memory) {
  return ReadWithQt(file, memory, "bmp");
}
