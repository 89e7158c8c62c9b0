#include "platform/files/decode/TiffFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
// The largest block libtiff may take at once for its own use: rows and
// tiles are decoded into the reader's buffers, and strips are read from the
// file's bytes in place.
constexpr tmsize_t kLargestLibtiffBlock = 256 << 20;
}  // namespace

std::unique_ptr<TiffFile> TiffFile::Open(std::span<const uint8_t> bytes) {
  std::unique_ptr<TiffFile> file(new TiffFile(bytes));
  std::unique_ptr<TIFFOpenOptions, void (*)(TIFFOpenOptions*)> options(TIFFOpenOptionsAlloc(),
                                                                       TIFFOpenOptionsFree);
  if (!options) return nullptr;
  TIFFOpenOptionsSetErrorHandlerExtR(options.get(), OnError, file.get());
  TIFFOpenOptionsSetWarningHandlerExtR(options.get(), OnWarning, file.get());
  TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kLargestLibtiffBlock);

  auto read = [](thandle_t handle, void* buffer, tmsize_t size) -> tmsize_t {
    TiffFile& f = *static_cast<TiffFile*>(handle);
    const uint64_t left = f.position_ < f.bytes_.size() ? f.bytes_.size() - f.position_ : 0;
    const auto count = std::min<uint64_t>(left, uint64_t(size));
    std::memcpy(buffer, f.bytes_.data() + f.position_, count);
    f.position_ += count;
    return tmsize_t(count);
  };
  auto write = [](thandle_t, void*, tmsize_t) -> tmsize_t { return 0; };
  auto seek = [](thandle_t handle, toff_t offset, int whence) -> toff_t {
    TiffFile& f = *static_cast<TiffFile*>(handle);
    const uint64_t base = whence == SEEK_CUR   ? f.position_
                          : whence == SEEK_END ? f.bytes_.size()
                                               : 0;
    f.position_ = base + offset;
    return f.position_;
  };
  auto close = [](thandle_t) { return 0; };
  auto size = [](thandle_t handle) -> toff_t {
    return static_cast<TiffFile*>(handle)->bytes_.size();
  };
  // libtiff reads strips from the mapped bytes in place; it never writes them.
  auto map = [](thandle_t handle, void** base, toff_t* size) {
    TiffFile& f = *static_cast<TiffFile*>(handle);
    *base = const_cast<uint8_t*>(f.bytes_.data());
    *size = f.bytes_.size();
    return 1;
  };
  auto unmap = [](thandle_t, void*, toff_t) {};
  file->tiff_ = TIFFClientOpenExt("picture", "r", file.get(), read, write, seek, close, size, map,
                                  unmap, options.get());
  if (!file->tiff_ || file->damaged_) return nullptr;
  return file;
}

TiffFile::~TiffFile() {
  if (tiff_) TIFFClose(tiff_);
}

int TiffFile::OnError(TIFF*, void* file, const char*, const char*, va_list) {
  static_cast<TiffFile*>(file)->damaged_ = true;
  return 1;
}

int TiffFile::OnWarning(TIFF*, void* file, const char*, const char*, va_list) {
  TiffFile& f = *static_cast<TiffFile*>(file);
  if (f.decoding_) f.damaged_ = true;
  return 1;
}
