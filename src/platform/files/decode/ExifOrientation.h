#pragma once
// Inside the platform: the orientation an EXIF block gives its picture.
#include <cstdint>
#include <span>

// The Orientation (1 to 8) of the first directory of an APP1 segment's data
// ("Exif\0\0" and a TIFF structure); 1 when it is not there or not valid.
int ExifOrientation(std::span<const uint8_t> app1);
