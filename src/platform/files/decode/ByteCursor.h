#pragma once
// Inside the platform: bounds-checked reading of a file's bytes. Once a read
// runs past the end, it and every later one fail and Ok() turns false.
#include <cstddef>
#include <cstdint>
#include <span>

class ByteCursor {
 public:
  explicit ByteCursor(std::span<const uint8_t> bytes, size_t at = 0)
      : bytes_(bytes), position_(at), ok_(at <= bytes.size()) {}

  // The next count bytes, or null when fewer are left.
  const uint8_t* Take(uint64_t count) {
    if (!ok_ || count > Left()) {
      ok_ = false;
      return nullptr;
    }
    const uint8_t* start = bytes_.data() + position_;
    position_ += count;
    return start;
  }
  bool Skip(uint64_t count) { return Take(count) != nullptr; }
  // An unsigned number of 1 to 8 bytes, most significant first; 0 once past the end.
  uint64_t BigEndian(int size) {
    const uint8_t* p = Take(uint64_t(size));
    uint64_t value = 0;
    for (int i = 0; p && i < size; ++i) value = value << 8 | p[i];
    return value;
  }
  // The same, least significant first.
  uint64_t LittleEndian(int size) {
    const uint8_t* p = Take(uint64_t(size));
    uint64_t value = 0;
    for (int i = size - 1; p && i >= 0; --i) value = value << 8 | p[i];
    return value;
  }

  bool Ok() const { return ok_; }
  uint64_t Position() const { return position_; }
  uint64_t Left() const { return ok_ ? bytes_.size() - position_ : 0; }

 private:
  std::span<const uint8_t> bytes_;
  uint64_t position_;
  bool ok_;
};
