#include "platform/files/PictureDecoder.h"

#include <new>

#include "platform/files/decode/FormatReaders.h"
#include "platform/graphics/PictureImage.h"

namespace {
// Reads the picture of the file with the reader of its format. read holds the
// file's bytes or says why it could not.
template <class ReadFile>
Ref<Picture> Decode(ReadFile read, PictureOpenFailure& failure) {
  failure = {};
  PictureMemory memory(failure);
  try {
    EncodedFile file;
    if (!read(file)) return nullptr;
    const FormatReader* reader = ReaderFor(file);
    if (!reader) return nullptr;
    DecodeResult result = reader->read(file, memory);
    if (result.image.isNull()) return nullptr;
    return PictureFromImage(std::move(result.image), result.opaque);
  } catch (const std::bad_alloc&) {
    RecordShortage(failure, memory.Needed());
  }
  return nullptr;
}
}  // namespace

Ref<Picture> DecodePictureFile(const std::string& path, PictureOpenFailure& failure) {
  return Decode([&](EncodedFile& file) { return file.Read(path, failure); }, failure);
}

Ref<Picture> DecodePictureBytes(std::span<const uint8_t> bytes, const std::string& extension,
                                PictureOpenFailure& failure) {
  return Decode(
      [&](EncodedFile& file) {
        file.Hold(bytes, extension);
        return true;
      },
      failure);
}
