#include "platform/files/decode/TargaReader.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "platform/files/decode/MagickImageReader.h"

namespace {
// TARGA files have no signature: they are known by their extension.
constexpr std::string_view kExtensions[] = {"tga", "icb", "vda", "vst"};
}  // namespace

bool IsTarga(const EncodedFile& file) {
  return std::find(std::begin(kExtensions), std::end(kExtensions), file.Extension()) !=
         std::end(kExtensions);
}

DecodeResult ReadTarga(const EncodedFile& file, PictureMemory& memory) {
  return ReadWithMagick(file, memory, "TGA");
}
