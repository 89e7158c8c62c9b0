#pragma once
// Inside the platform: a 16-bit sample brought to 8 bits.
#include <cstdint>

// The nearest 8-bit level to a 16-bit one.
inline uint8_t EightBitLevel(uint32_t sixteenBit) {
  return uint8_t((sixteenBit * 255 + 32767) / 65535);
}
