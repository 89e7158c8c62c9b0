// libFuzzer's entry for opening a picture. The input is the content of a file
// named *.tga: content with no format's signature reaches the TARGA reader,
// every other its own format's reader, through the same path as an opened
// file. Pictures may take at most 256 MB, so that valid large ones are
// refused quickly instead of filling the fuzzer's memory.
#include <cstddef>
#include <cstdint>

#include "platform/files/PictureDecoder.h"
#include "platform/graphics/Picture.h"
#include "platform/runtime/TestHooks.h"

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  TestHooks::availableMemory = uint64_t(256) << 20;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PictureOpenFailure failure;
  DecodePictureBytes({data, size}, "tga", failure);
  return 0;
}
