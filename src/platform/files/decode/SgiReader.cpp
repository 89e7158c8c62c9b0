#include "platform/files/decode/SgiReader.h"

#include "platform/files/decode/MagickImageReader.h"
#include "platform/files/decode/Signature.h"

bool IsSgi(const EncodedFile& file) { return HasBytesAt(file.Bytes(), 0, "\x01\xDA"); }

DecodeResult ReadSgi(const EncodedFile& file, PictureMemory& memory) {
  return ReadWithMagick(file, memory, "SGI");
}
