#include "platform/files/decode/ExifOrientation.h"

#include "platform/files/decode/Signature.h"

namespace {
constexpr uint16_t kOrientationTag = 0x0112, kShortType = 3;
constexpr size_t kEntryBytes = 12;

// Reads 16- and 32-bit values of the TIFF structure in its byte order; a read
// past the end gives 0.
class TiffBytes {
 public:
  TiffBytes(std::span<const uint8_t> bytes, bool bigEndian) : bytes_(bytes), big_(bigEndian) {}
  uint32_t Read(size_t at, int size) const {
    if (at > bytes_.size() || size_t(size) > bytes_.size() - at) return 0;
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
      const uint32_t byte = bytes_[at + (big_ ? i : size - 1 - i)];
      value = value << 8 | byte;
    }
    return value;
  }

 private:
  std::span<const uint8_t> bytes_;
  bool big_;
};
}  // namespace

int ExifOrientation(std::span<const uint8_t> app1) {
  if (!HasBytesAt(app1, 0, std::string_view("Exif\0\0", 6))) return 1;
  const std::span<const uint8_t> tiff = app1.subspan(6);
  const bool bigEndian = HasBytesAt(tiff, 0, "MM");
  if (!bigEndian && !HasBytesAt(tiff, 0, "II")) return 1;
  const TiffBytes in(tiff, bigEndian);
  if (in.Read(2, 2) != 42) return 1;
  const size_t directory = in.Read(4, 4);
  const size_t entries = in.Read(directory, 2);
  for (size_t i = 0; i < entries; ++i) {
    const size_t entry = directory + 2 + i * kEntryBytes;
    if (entry + kEntryBytes > tiff.size()) break;
    if (in.Read(entry, 2) != kOrientationTag) continue;
    const uint32_t value = in.Read(entry + 8, 2);
    const bool valid = in.Read(entry + 2, 2) == kShortType && in.Read(entry + 4, 4) == 1 &&
                       value >= 1 && value <= 8;
    return valid ? int(value) : 1;
  }
  return 1;
}
