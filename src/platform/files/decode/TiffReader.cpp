#include "platform/files/decode/TiffReader.h"

#include "platform/files/decode/QtImageReader.h"
#include "platform/files/decode/Signature.h"

bool IsTiff(const EncodedFile& file) {
  const auto bytes = file.Bytes();
  return HasBytesAt(bytes, 0, std::string_view("II*\0", 4)) ||
         HasBytesAt(bytes, 0, std::string_view("MM\0*", 4));
}

DecodeResult ReadTiff(const EncodedFile& file, PictureMemory& memory) {
  return ReadWithQt(file, memory, "tiff");
}
