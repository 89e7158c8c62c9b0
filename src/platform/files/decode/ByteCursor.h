#pragma once
// Inside the platform: reads the fields of a file's bytes in turn. Once a
// read runs past the end it fails, and so does every later one.
#include <cstddef>
#include <cstdint>
#include <span>

class ByteCursor {
 public:
  explicit ByteCursor(std::span<const uint8_t> bytes, size_t at = 0)
      : bytes_(bytes), at_(at), ok_(at <= bytes.size()) {}

  // The next count bytes, or null when fewer are left.
  const uint8_t* Take(uint64_t count) {
    if (!ok_ || count > bytes_.size() - at_) {
      ok_ = false;
      return nullptr;
    }
    const uint8_t* start = bytes_.data() + at_;
    at_ += size_t(count);
    return start;
  }
  bool Skip(uint64_t count) { return Take(count) != nullptr; }
  // An unsigned number of 1 to 4 bytes, least (or most) significant first;
  // 0 once the end is passed.
  uint32_t Little(int count) {
    const uint8_t* p = Take(uint64_t(count));
    uint32_t value = 0;
    for (int i = count - 1; p && i >= 0; --i) value = value << 8 | p[i];
    return value;
  }
  uint32_t Big(int count) {
    const uint8_t* p = Take(uint64_t(count));
    uint32_t value = 0;
    for (int i = 0; p && i < count; ++i) value = value << 8 | p[i];
    return value;
  }

  bool Ok() const { return ok_; }
  size_t Position() const { return at_; }
  size_t Left() const { return ok_ ? bytes_.size() - at_ : 0; }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_;
  bool ok_;
};
