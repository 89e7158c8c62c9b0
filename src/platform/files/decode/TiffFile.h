#pragma once
// Inside the platform: libtiff over a file's bytes in memory, with handlers
// of its own: nothing is printed, an error marks the file damaged, and so
// does a warning once the pixels are being decoded (a truncated or corrupt
// strip); warnings about the directory's tags are passed over.
#include <tiffio.h>

#include <cstdint>
#include <memory>
#include <span>

class TiffFile {
 public:
  // The file's first directory, or null when libtiff cannot read it. The
  // bytes must outlive the handle.
  static std::unique_ptr<TiffFile> Open(std::span<const uint8_t> bytes);
  ~TiffFile();
  TiffFile(const TiffFile&) = delete;
  TiffFile& operator=(const TiffFile&) = delete;

  TIFF* Handle() const { return tiff_; }
  uint64_t Size() const { return bytes_.size(); }
  // From now on, warnings mean damage.
  void StartDecoding() { decoding_ = true; }
  bool Damaged() const { return damaged_; }

 private:
  explicit TiffFile(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  static int OnError(TIFF*, void* file, const char*, const char*, va_list);
  static int OnWarning(TIFF*, void* file, const char*, const char*, va_list);

  std::span<const uint8_t> bytes_;
  uint64_t position_ = 0;
  TIFF* tiff_ = nullptr;
  bool decoding_ = false;
  bool damaged_ = false;
};
