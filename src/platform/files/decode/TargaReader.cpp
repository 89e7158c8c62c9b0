#include "platform/files/decode/TargaReader.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <vector>

#include "platform/files/decode/ByteCursor.h"

namespace {
// TARGA files have no signature: they are known by their extension.
constexpr std::string_view kExtensions[] = {"tga", "icb", "vda", "vst"};

enum ImageType : uint64_t { kColorMapped = 1, kTrueColor = 2, kGray = 3, kRunLength = 8 };
constexpr uint64_t kAlphaBits = 0x0F, kRightToLeft = 0x10, kTopToBottom = 0x20;

// A colour of 15, 16, 24 or 32 bits, blue first, as pixels and colour map
// entries store it. With alpha, a 16-bit colour's top bit is its alpha and a
// 32-bit colour's last byte.
QRgb TrueColor(const uint8_t* p, int bits, bool alpha) {
  if (bits == 24) return qRgb(p[2], p[1], p[0]);
  if (bits == 32) return qRgba(p[2], p[1], p[0], alpha ? p[3] : 255);
  const uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8;
  auto eight = [](uint32_t five) { return int(five << 3 | five >> 2); };
  const bool transparent = alpha && bits == 16 && !(v & 0x8000);
  return qRgba(eight(v >> 10 & 31), eight(v >> 5 & 31), eight(v & 31), transparent ? 0 : 255);
}

// How a stored pixel gives its colour.
struct PixelFormat {
  uint64_t type;                // kColorMapped, kTrueColor or kGray
  int bits;                     // per stored pixel
  bool alpha;                   // the attribute bits say the pixels carry alpha
  std::vector<QRgb> colorMap;   // kColorMapped: the entries from the first index on
  uint64_t firstIndex = 0;

  int Bytes() const { return (bits + 7) / 8; }
  // False for an index outside the colour map.
  bool Color(const uint8_t* p, QRgb& color) const {
    switch (type) {
      case kColorMapped:
        if (p[0] < firstIndex || p[0] - firstIndex >= colorMap.size()) return false;
        color = colorMap[p[0] - firstIndex];
        return true;
      case kGray:
        color = qRgba(p[0], p[0], p[0], bits == 16 && alpha ? p[1] : 255);
        return true;
      default:
        color = TrueColor(p, bits, alpha);
        return true;
    }
  }
};

// Puts pixels in the order the file stores them: rows from the bottom or the
// top, each from the left or the right.
class StoredOrder {
 public:
  StoredOrder(QImage& image, uint64_t descriptor)
      : image_(image),
        width_(image.width()),
        fromRight_(descriptor & kRightToLeft),
        fromTop_(descriptor & kTopToBottom) {
    StartRow();
  }
  void Put(QRgb color) {
    row_[fromRight_ ? width_ - 1 - x_ : x_] = color;
    if (++x_ == width_) {
      x_ = 0;
      if (++y_ < image_.height()) StartRow();
    }
  }

 private:
  void StartRow() {
    row_ = reinterpret_cast<QRgb*>(image_.scanLine(fromTop_ ? y_ : image_.height() - 1 - y_));
  }
  QImage& image_;
  int width_, x_ = 0, y_ = 0;
  bool fromRight_, fromTop_;
  QRgb* row_ = nullptr;
};

// Where the pixels go when they are only checked.
struct Nowhere {
  void Put(QRgb) {}
};

template <class Out>
bool ReadRaw(ByteCursor& in, const PixelFormat& format, uint64_t count, Out& out) {
  const int bytes = format.Bytes();
  const uint8_t* p = in.Take(count * uint64_t(bytes));
  QRgb color;
  for (uint64_t i = 0; p && i < count; ++i, p += bytes) {
    if (!format.Color(p, color)) return false;
    out.Put(color);
  }
  return p != nullptr;
}

// Packets of 1 to 128 pixels: a run of one stored pixel or raw pixels. None
// may reach past the picture.
template <class Out>
bool ReadRunLength(ByteCursor& in, const PixelFormat& format, uint64_t count, Out& out) {
  while (count > 0) {
    const uint8_t* header = in.Take(1);
    if (!header) return false;
    const uint64_t length = (*header & 0x7F) + 1u;
    if (length > count) return false;
    count -= length;
    if (!(*header & 0x80)) {
      if (!ReadRaw(in, format, length, out)) return false;
      continue;
    }
    const uint8_t* p = in.Take(uint64_t(format.Bytes()));
    QRgb color;
    if (!p || !format.Color(p, color)) return false;
    for (uint64_t i = 0; i < length; ++i) out.Put(color);
  }
  return true;
}

// The colour map's entries, or false for a map that the header describes
// badly or the file does not hold.
bool ReadColorMap(ByteCursor& in, uint64_t entries, uint64_t bits, bool alpha,
                  std::vector<QRgb>& colorMap) {
  if (bits != 15 && bits != 16 && bits != 24 && bits != 32) return false;
  const uint64_t bytes = (bits + 7) / 8;
  const uint8_t* p = in.Take(entries * bytes);
  if (!p) return false;
  colorMap.resize(entries);
  for (QRgb& color : colorMap) {
    color = TrueColor(p, int(bits), alpha);
    p += bytes;
  }
  return true;
}

bool AlphaPossible(uint64_t type, int bits, int mapBits) {
  if (type == kColorMapped) return mapBits == 16 || mapBits == 32;
  if (type == kGray) return bits == 16;
  return bits == 16 || bits == 32;
}

bool PixelBitsAllowed(uint64_t type, int bits) {
  switch (type) {
    case kColorMapped: return bits == 8;
    case kGray: return bits == 8 || bits == 16;
    case kTrueColor: return bits == 15 || bits == 16 || bits == 24 || bits == 32;
    default: return false;
  }
}
}  // namespace

bool IsTarga(const EncodedFile& file) {
  return std::find(std::begin(kExtensions), std::end(kExtensions), file.Extension()) !=
         std::end(kExtensions);
}

DecodeResult ReadTarga(const EncodedFile& file, PictureMemory& memory) {
  ByteCursor in(file.Bytes());
  const uint64_t idLength = in.LittleEndian(1), hasColorMap = in.LittleEndian(1);
  const uint64_t imageType = in.LittleEndian(1);
  const uint64_t firstIndex = in.LittleEndian(2), entries = in.LittleEndian(2);
  const uint64_t mapBits = in.LittleEndian(1);
  in.Skip(4);  // the screen origin
  const uint64_t width = in.LittleEndian(2), height = in.LittleEndian(2);
  const int bits = int(in.LittleEndian(1));
  const uint64_t descriptor = in.LittleEndian(1);
  in.Skip(idLength);

  PixelFormat format{imageType & ~kRunLength, bits, false, {}, firstIndex};
  format.alpha = (descriptor & kAlphaBits) != 0 && AlphaPossible(format.type, bits, int(mapBits));
  if (!in.Ok() || hasColorMap > 1 || !PixelBitsAllowed(format.type, bits) ||
      (format.type == kColorMapped && hasColorMap != 1))
    return DecodeResult::Refused();
  if (format.type == kColorMapped
          ? !ReadColorMap(in, entries, mapBits, format.alpha, format.colorMap)
          : !in.Skip(entries * ((mapBits + 7) / 8) * hasColorMap))  // a map that no pixel uses
    return DecodeResult::Refused();
  if (!memory.AdmitSides(int64_t(width), int64_t(height))) return DecodeResult::Refused();

  // The file must hold the stored pixels, or for run-length data the least
  // that packets of 128 pixels take; then every packet and colour index is
  // checked, the pixels read once and dropped, before the picture's memory is
  // taken.
  const bool runLength = imageType & kRunLength;
  const uint64_t pixels = width * height, bytes = uint64_t(format.Bytes());
  const uint64_t leastBytes = runLength ? (pixels + 127) / 128 * (1 + bytes) : pixels * bytes;
  auto readAll = [&](ByteCursor data, auto& out) {
    return runLength ? ReadRunLength(data, format, pixels, out) : ReadRaw(data, format, pixels, out);
  };
  Nowhere nowhere;
  if (in.Left() < leastBytes || !readAll(in, nowhere)) return DecodeResult::Refused();

  QImage image = memory.Take(int64_t(width), int64_t(height));
  if (image.isNull()) return DecodeResult::Refused();
  StoredOrder out(image, descriptor);
  readAll(in, out);  // checked above
  return DecodeResult::Decoded(std::move(image), !format.alpha);
}
