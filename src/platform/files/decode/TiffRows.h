#pragma once
// Inside the platform: the stored rows of a TIFF's first picture, top first,
// each as a row of samples (of all samples, or one for each sample's plane).
// Strips are decoded a row at a time, so that a strip as large as the
// picture needs no buffer of its size; tiles a row of tiles at a time.
#include <cstdint>
#include <memory>
#include <span>

#include "platform/files/decode/TiffFile.h"
#include "platform/files/decode/TiffLayout.h"

class TiffRows {
 public:
  virtual ~TiffRows() = default;

  // The memory reading takes beside the picture.
  static uint64_t WorkingBytes(TIFF* tiff, const TiffLayout& layout);
  // The rows of the file's picture; null when a plane's own handle on the
  // bytes cannot be opened.
  static std::unique_ptr<TiffRows> Of(TiffFile& file, std::span<const uint8_t> bytes,
                                      const TiffLayout& layout);

  // Decodes the next stored row into planes[0], or into planes[s] for each
  // sample s that is a colour or the alpha when each has a plane. False when
  // libtiff cannot decode it or finds the data damaged.
  virtual bool Next(const uint8_t** planes) = 0;
};
