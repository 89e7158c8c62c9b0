#include "platform/files/decode/GifLzw.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeWidth = 12;

// The codes' bits, least significant first, across the data blocks.
class BlockBits {
 public:
  explicit BlockBits(std::span<const uint8_t> blocks) : blocks_(blocks) {}

  // The next code of that many bits, or -1 once the blocks end.
  int Read(int width) {
    while (count_ < width) {
      if (left_ == 0) {
        if (at_ >= blocks_.size() || blocks_[at_] == 0) return -1;
        left_ = blocks_[at_++];
        if (left_ > blocks_.size() - at_) return -1;
      }
      bits_ |= uint32_t(blocks_[at_++]) << count_;
      count_ += 8;
      --left_;
    }
    const int code = int(bits_ & ((1u << width) - 1));
    bits_ >>= width;
    count_ -= width;
    return code;
  }

 private:
  std::span<const uint8_t> blocks_;
  size_t at_ = 0, left_ = 0;
  uint32_t bits_ = 0;
  int count_ = 0;
};

// The strings the codes stand for: each entry is an earlier one and a
// last index.
struct CodeTable {
  std::array<uint16_t, kMaxCodes> prefix;
  std::array<uint16_t, kMaxCodes> length;
  std::array<uint8_t, kMaxCodes> last;
  std::array<uint8_t, kMaxCodes> first;
};

// Gathers indices into rows and hands each full row on.
class Rows {
 public:
  Rows(uint32_t width, uint32_t height,
       const std::function<void(uint32_t row, const uint8_t* indices)>& sink)
      : row_(width), height_(height), sink_(sink) {}

  void Add(const uint8_t* indices, size_t count) {
    while (count > 0 && y_ < height_) {
      const size_t n = std::min<size_t>(count, row_.size() - x_);
      std::memcpy(row_.data() + x_, indices, n);
      indices += n;
      count -= n;
      x_ += n;
      if (x_ == row_.size()) {
        sink_(y_++, row_.data());
        x_ = 0;
      }
    }
  }
  bool Full() const { return y_ == height_; }

 private:
  std::vector<uint8_t> row_;
  size_t x_ = 0;
  uint32_t y_ = 0, height_;
  const std::function<void(uint32_t, const uint8_t*)>& sink_;
};

}  // namespace

uint64_t LeastLzwBytes(uint64_t pixels) {
  return (pixels * kMaxCodeWidth / kMaxCodes + 7) / 8;
}

bool DecodeLzw(std::span<const uint8_t> blocks, int minimumCodeSize, uint32_t width,
               uint32_t height, const std::function<void(uint32_t row, const uint8_t* indices)>& sink) {
  const int clear = 1 << minimumCodeSize, end = clear + 1;
  const auto table = std::make_unique<CodeTable>();
  for (int code = 0; code < clear; ++code) {
    table->length[size_t(code)] = 1;
    table->last[size_t(code)] = table->first[size_t(code)] = uint8_t(code);
  }
  BlockBits bits(blocks);
  Rows rows(width, height, sink);
  std::array<uint8_t, kMaxCodes> string;
  int codeWidth = minimumCodeSize + 1, next = clear + 2, previous = -1;
  while (!rows.Full()) {
    const int code = bits.Read(codeWidth);
    if (code < 0 || code == end) return false;
    if (code == clear) {
      codeWidth = minimumCodeSize + 1;
      next = clear + 2;
      previous = -1;
      continue;
    }
    if (previous < 0 ? code > clear : code > next || (code == next && next == kMaxCodes))
      return false;
    if (previous >= 0 && next < kMaxCodes) {
      // The previous string and the first index of this one (of the
      // previous one, when this code is the entry being made).
      const size_t entry = size_t(next++);
      table->prefix[entry] = uint16_t(previous);
      table->length[entry] = uint16_t(table->length[size_t(previous)] + 1);
      table->first[entry] = table->first[size_t(previous)];
      table->last[entry] = table->first[size_t(code)];
      if (next == 1 << codeWidth && codeWidth < kMaxCodeWidth) ++codeWidth;
    }
    const size_t length = table->length[size_t(code)];
    size_t at = size_t(code);
    for (size_t i = length; i-- > 0; at = table->prefix[at]) string[i] = table->last[at];
    rows.Add(string.data(), length);
    previous = code;
  }
  return true;
}
