#include "platform/files/decode/FormatReaders.h"

#include "platform/files/decode/BmpReader.h"
#include "platform/files/decode/GifReader.h"
#include "platform/files/decode/JpegReader.h"
#include "platform/files/decode/PngReader.h"
#include "platform/files/decode/PsdReader.h"
#include "platform/files/decode/SgiReader.h"
#include "platform/files/decode/TargaReader.h"
#include "platform/files/decode/TiffReader.h"
#include "platform/files/decode/WebpReader.h"

namespace {
// Signatures first; TARGA, known by its extension alone, last.
constexpr FormatReader kReaders[] = {
    {IsJpeg, ReadJpeg}, {IsPng, ReadPng}, {IsBmp, ReadBmp},
    {IsGif, ReadGif},   {IsTiff, ReadTiff}, {IsWebp, ReadWebp},
    {IsPsd, ReadPsd},   {IsSgi, ReadSgi},   {IsTarga, ReadTarga},
};
}  // namespace

const FormatReader* ReaderFor(const EncodedFile& file) {
  for (const FormatReader& reader : kReaders)
    if (reader.recognizes(file)) return &reader;
  return nullptr;
}
