#include "GifBytes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "ByteOrder.h"

namespace {
constexpr int kMaxCodes = 4096;

// Bits of the table's size: 2 ^ (bits + 1) entries hold the colours.
int TableBits(size_t colors) {
  int bits = 0;
  while ((size_t(2) << bits) < colors) ++bits;
  return bits;
}

class CodeWriter {
 public:
  void Put(int code, int width) {
    bits_ |= uint64_t(code) << count_;
    count_ += width;
    while (count_ >= 8) {
      out_.append(char(bits_ & 0xFF));
      bits_ >>= 8;
      count_ -= 8;
    }
  }
  QByteArray Finish() {
    if (count_ > 0) out_.append(char(bits_ & 0xFF));
    return out_;
  }

 private:
  QByteArray out_;
  uint64_t bits_ = 0;
  int count_ = 0;
};

// LZW as GIF codes it. The width of each code follows the decoder's table,
// which is one entry behind the encoder's.
QByteArray Lzw(const GifPicture& p, int minimumCodeSize) {
  const int clear = 1 << minimumCodeSize, end = clear + 1;
  std::vector<std::array<uint16_t, 256>> next(kMaxCodes);  // 0: no entry
  CodeWriter out;
  int free = clear + 2, prefix = -1;
  auto width = [&] { return std::min(12, int(std::bit_width(unsigned(free - 1)))); };
  auto restart = [&] {
    for (auto& entry : next) entry.fill(0);
    free = clear + 2;
  };
  out.Put(clear, minimumCodeSize + 1);
  std::vector<int> rows;
  if (p.interlaced) {
    for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
      for (int y = start; y < p.height; y += step) rows.push_back(y);
  } else {
    for (int y = 0; y < p.height; ++y) rows.push_back(y);
  }
  for (int y : rows) {
    const QByteArray indices = p.row(y);
    for (int x = 0; x < p.width; ++x) {
      const uint8_t k = uint8_t(indices[x]);
      if (prefix < 0) {
        prefix = k;
        continue;
      }
      if (next[prefix][k]) {
        prefix = next[prefix][k];
        continue;
      }
      out.Put(prefix, width());
      if (free < kMaxCodes) {
        next[prefix][k] = uint16_t(free++);
      } else if (p.clearWhenFull) {
        out.Put(clear, width());
        restart();
      }
      prefix = k;
    }
  }
  out.Put(prefix, width());
  if (free < kMaxCodes) ++free;  // the entry the decoder makes of the last code
  out.Put(end, width());
  return out.Finish();
}
}  // namespace

QByteArray GifFile(const GifPicture& p) {
  const int tableBits = TableBits(p.colors.size());
  QByteArray gif = "GIF89a" + LittleEndian(uint32_t(p.screenWidth), 2) +
                   LittleEndian(uint32_t(p.screenHeight), 2) +
                   char(0x80 | tableBits) + char(p.background) + char(0);
  for (size_t i = 0; i < (size_t(2) << tableBits); ++i) {
    const QRgb c = i < p.colors.size() ? p.colors[i] : 0;
    gif += char(qRed(c));
    gif += char(qGreen(c));
    gif += char(qBlue(c));
  }
  if (p.transparent >= 0)
    gif += QByteArray("\x21\xF9\x04\x01\0\0", 6) + char(p.transparent) + char(0);
  gif += ',' + LittleEndian(uint32_t(p.left), 2) + LittleEndian(uint32_t(p.top), 2) +
         LittleEndian(uint32_t(p.width), 2) + LittleEndian(uint32_t(p.height), 2) +
         char(p.interlaced ? 0x40 : 0);
  const int minimumCodeSize = std::max(2, tableBits + 1);
  gif += char(minimumCodeSize);
  QByteArray codes = Lzw(p, minimumCodeSize);
  codes.truncate(qsizetype(codes.size() * p.codesKept));
  for (qsizetype at = 0; at < codes.size(); at += 255) {
    const QByteArray block = codes.mid(at, 255);
    gif += char(block.size()) + block;
  }
  return gif + '\0' + ';';
}
