#pragma once
// Inside the platform: a picture file's bytes, read whole before decoding.
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/files/PictureOpenFailure.h"

class EncodedFile {
 public:
  // Reads the regular file at path. False, with failure saying why, when it
  // cannot be opened or read, is no regular file, or does not fit in memory.
  bool Read(const std::string& path, PictureOpenFailure& failure);
  // Holds a copy of bytes as the content of a file of that extension.
  void Hold(std::span<const uint8_t> bytes, std::string extension);

  std::span<const uint8_t> Bytes() const { return {bytes_.get(), size_}; }
  // The file name's extension in lower case, without the dot.
  const std::string& Extension() const { return extension_; }

 private:
  std::unique_ptr<uint8_t[]> bytes_;
  size_t size_ = 0;
  std::string extension_;
};
