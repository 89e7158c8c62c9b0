#include "platform/files/decode/TargaReader.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <iterator>
#include <string_view>

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
  uint64_t type;       // kColorMapped, kTrueColor or kGray
  int bits;            // per stored pixel
  bool alpha = false;  // the attribute bits say the pixels carry alpha
  // kColorMapped: the colour of each index, and the indices the map holds.
  std::array<QRgb, 256> colorMap{};
  std::bitset<256> mapped{};

  int Bytes() const { return (bits + 7) / 8; }
  // Whether every one of count stored pixels has a colour: a colour-mapped
  // index must lie in the map.
  bool Valid(const uint8_t* p, uint64_t count) const {
    if (type != kColorMapped) return true;
    for (uint64_t i = 0; i < count; ++i)
      if (!mapped[p[i]]) return false;
    return true;
  }
  QRgb Color(const uint8_t* p) const {
    switch (type) {
      case kColorMapped: return colorMap[p[0]];
      case kGray: return qRgba(p[0], p[0], p[0], bits == 16 && alpha ? p[1] : 255);
      default: return TrueColor(p, bits, alpha);
    }
  }
};

// Puts pixels in the order the file stores them: rows from the bottom or the
// top, each from the left or the right.
class StoredOrder {
 public:
  StoredOrder(QImage& image, const PixelFormat& format, uint64_t descriptor)
      : image_(image),
        format_(format),
        width_(image.width()),
        fromRight_(descriptor & kRightToLeft),
        fromTop_(descriptor & kTopToBottom) {
    StartRow();
  }
  // length pixels of one stored colour; then count stored pixels in turn.
  bool Run(const uint8_t* p, uint64_t length) {
    const QRgb color = format_.Color(p);
    for (uint64_t i = 0; i < length; ++i) Put(color);
    return true;
  }
  bool Raw(const uint8_t* p, uint64_t count) {
    const int bytes = format_.Bytes();
    for (uint64_t i = 0; i < count; ++i, p += bytes) Put(format_.Color(p));
    return true;
  }

 private:
  void Put(QRgb color) {
    row_[fromRight_ ? width_ - 1 - x_ : x_] = color;
    if (++x_ == width_) {
      x_ = 0;
      if (++y_ < image_.height()) StartRow();
    }
  }
  void StartRow() {
    row_ = reinterpret_cast<QRgb*>(image_.scanLine(fromTop_ ? y_ : image_.height() - 1 - y_));
  }
  QImage& image_;
  const PixelFormat& format_;
  int width_, x_ = 0, y_ = 0;
  bool fromRight_, fromTop_;
  QRgb* row_ = nullptr;
};

// Checks the stored pixels without converting them.
class Checked {
 public:
  explicit Checked(const PixelFormat& format) : format_(format) {}
  bool Run(const uint8_t* p, uint64_t) const { return format_.Valid(p, 1); }
  bool Raw(const uint8_t* p, uint64_t count) const { return format_.Valid(p, count); }

 private:
  const PixelFormat& format_;
};

// Uncompressed data: count stored pixels in turn.
template <class Out>
bool ReadRaw(ByteCursor& in, int bytes, uint64_t count, Out& out) {
  const uint8_t* p = in.Take(count * uint64_t(bytes));
  return p && out.Raw(p, count);
}

// Packets of 1 to 128 pixels: a run of one stored pixel or raw pixels. None
// may reach past the picture.
template <class Out>
bool ReadRunLength(ByteCursor& in, int bytes, uint64_t count, Out& out) {
  while (count > 0) {
    const uint8_t* header = in.Take(1);
    if (!header) return false;
    const uint64_t length = (*header & 0x7F) + 1u;
    if (length > count) return false;
    count -= length;
    const bool run = *header & 0x80;
    const uint8_t* p = in.Take(run ? uint64_t(bytes) : length * bytes);
    if (!p || !(run ? out.Run(p, length) : out.Raw(p, length))) return false;
  }
  return true;
}

// The colour map's entries from the first index on, as the indices that a
// pixel can hold, or false for a map that the header describes badly or the
// file does not hold.
bool ReadColorMap(ByteCursor& in, uint64_t firstIndex, uint64_t entries, uint64_t bits,
                  PixelFormat& format) {
  if (bits != 15 && bits != 16 && bits != 24 && bits != 32) return false;
  const uint64_t bytes = (bits + 7) / 8;
  const uint8_t* p = in.Take(entries * bytes);
  if (!p) return false;
  for (uint64_t index = firstIndex; index < firstIndex + entries && index < 256; ++index) {
    format.colorMap[index] = TrueColor(p + (index - firstIndex) * bytes, int(bits), format.alpha);
    format.mapped.set(index);
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

  PixelFormat format{.type = imageType & ~kRunLength, .bits = bits};
  format.alpha = (descriptor & kAlphaBits) != 0 && AlphaPossible(format.type, bits, int(mapBits));
  if (!in.Ok() || hasColorMap > 1 || !PixelBitsAllowed(format.type, bits) ||
      (format.type == kColorMapped && hasColorMap != 1))
    return DecodeResult::Refused();
  if (format.type == kColorMapped
          ? !ReadColorMap(in, firstIndex, entries, mapBits, format)
          : !in.Skip(entries * ((mapBits + 7) / 8) * hasColorMap))  // a map that no pixel uses
    return DecodeResult::Refused();
  if (!memory.AdmitSides(int64_t(width), int64_t(height))) return DecodeResult::Refused();

  // The file must hold the stored pixels, or for run-length data the least
  // that packets of 128 pixels take; then every packet and colour index is
  // checked, without converting a colour, before the picture's memory is
  // taken.
  const bool runLength = imageType & kRunLength;
  const int bytes = format.Bytes();
  const uint64_t pixels = width * height;
  const uint64_t leastBytes = runLength ? (pixels + 127) / 128 * (1 + bytes) : pixels * bytes;
  auto readAll = [&](ByteCursor data, auto& out) {
    return runLength ? ReadRunLength(data, bytes, pixels, out) : ReadRaw(data, bytes, pixels, out);
  };
  Checked checked(format);
  if (in.Left() < leastBytes || !readAll(in, checked)) return DecodeResult::Refused();

  QImage image = memory.Take(int64_t(width), int64_t(height));
  if (image.isNull()) return DecodeResult::Refused();
  StoredOrder out(image, format, descriptor);
  readAll(in, out);  // checked above
  return DecodeResult::Decoded(std::move(image), !format.alpha);
}
