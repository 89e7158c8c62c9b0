#include "platform/files/decode/ExifOrientation.h"

#include "platform/files/decode/ByteCursor.h"
#include "platform/files/decode/Signature.h"

namespace {
constexpr uint64_t kOrientationTag = 0x0112, kShortType = 3;
}  // namespace

int ExifOrientation(std::span<const uint8_t> app1) {
  if (!HasBytesAt(app1, 0, std::string_view("Exif\0\0", 6))) return 1;
  const std::span<const uint8_t> tiff = app1.subspan(6);
  const bool bigEndian = HasBytesAt(tiff, 0, "MM");
  if (!bigEndian && !HasBytesAt(tiff, 0, "II")) return 1;
  ByteCursor in(tiff, 2);
  // A number in the TIFF structure's byte order; 0 once past the end.
  auto number = [&](int size) { return bigEndian ? in.BigEndian(size) : in.LittleEndian(size); };
  if (number(2) != 42) return 1;
  in = ByteCursor(tiff, number(4));  // the first directory
  for (uint64_t entries = number(2); entries > 0 && in.Ok(); --entries) {
    const uint64_t tag = number(2), type = number(2), count = number(4), value = number(2);
    in.Skip(2);  // the rest of the value's 4 bytes
    if (tag != kOrientationTag) continue;
    const bool valid = in.Ok() && type == kShortType && count == 1 && value >= 1 && value <= 8;
    return valid ? int(value) : 1;
  }
  return 1;
}
