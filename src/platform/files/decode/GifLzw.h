#pragma once
// Inside the platform: the LZW codes of a GIF frame, read from its chain of
// data blocks.
#include <cstdint>
#include <functional>
#include <span>

// The fewest bytes of codes that can make that many pixels. A code stands
// for at most one index more than the codes read since the last clear code,
// and for 4096 at most; codes that reach that far are 12 bits wide: no code
// gives more than 4096 / 12 indices a bit.
uint64_t LeastLzwBytes(uint64_t pixels);

// Decodes width x height colour indices from the data blocks (each a length
// byte and that many bytes, up to a block of length 0), their codes starting
// at minimumCodeSize + 1 bits (a minimumCodeSize of 2 to 8), handing each row to
// the sink in the order stored. False when a code is invalid or the codes
// end before the last pixel; codes after the last pixel are not read.
bool DecodeLzw(std::span<const uint8_t> blocks, int minimumCodeSize, uint32_t width,
               uint32_t height, const std::function<void(uint32_t row, const uint8_t* indices)>& sink);
