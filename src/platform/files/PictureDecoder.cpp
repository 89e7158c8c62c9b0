#include "platform/files/PictureDecoder.h"

#include <new>

#include "platform/files/decode/FormatReaders.h"
#include "platform/graphics/PictureImage.h"

Ref<Picture> DecodePictureFile(const std::string& path, PictureOpenFailure& failure) {
  failure = {};
  try {
    EncodedFile file;
    if (!file.Read(path, failure)) return nullptr;
    const FormatReader* reader = ReaderFor(file);
    if (!reader) return nullptr;
    PictureMemory memory(failure);
    DecodeResult result = reader->read(file, memory);
    if (result.image.isNull()) return nullptr;
    return PictureFromImage(std::move(result.image), result.opaque);
  } catch (const std::bad_alloc&) {
    failure.kind = PictureOpenFailure::Kind::kNotEnoughMemory;
    failure.bytesNeeded = uint64_t(failure.width) * uint64_t(failure.height) * 4;
    failure.bytesAvailable = AvailableMemory();
  }
  return nullptr;
}
