#pragma once
// Inside the platform: PackBits, as Photoshop compresses each row of each
// channel.
#include <cstdint>
#include <span>

// Whether the packed row's packets lie within it and unpack to exactly
// rowBytes bytes; nothing is unpacked.
bool UnpacksToRow(std::span<const uint8_t> packed, uint64_t rowBytes);
// Unpacks the row into rowBytes bytes at row; false as UnpacksToRow.
bool UnpackBits(std::span<const uint8_t> packed, uint8_t* row, uint64_t rowBytes);
