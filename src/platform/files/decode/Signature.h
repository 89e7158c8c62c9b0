#pragma once
// Inside the platform: tests of a file's first bytes.
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

// Whether the bytes at offset begin with the text.
inline bool HasBytesAt(std::span<const uint8_t> bytes, size_t offset, std::string_view text) {
  return bytes.size() >= offset + text.size() &&
         std::memcmp(bytes.data() + offset, text.data(), text.size()) == 0;
}
