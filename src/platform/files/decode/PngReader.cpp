#include "platform/files/decode/PngReader.h"

#include "platform/files/decode/QtImageReader.h"
#include "platform/files/decode/Signature.h"

bool IsPng(const EncodedFile& file) {
  return HasBytesAt(file.Bytes(), 0, std::string_view("\x89PNG\r\n\x1A\n", 8));
}

DecodeResult ReadPng(const EncodedFile& file, PictureMemory& memory) {
  return ReadWithQt(file, memory, "png");
}
