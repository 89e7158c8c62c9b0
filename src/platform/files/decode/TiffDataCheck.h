#pragma once
// Inside the platform: whether a TIFF holds the data of its picture, as far
// as can be told before decoding it.
#include <tiffio.h>

#include <cstdint>

#include "platform/files/decode/TiffLayout.h"

// Every strip or tile lies within the file and has at least the bytes its
// compression needs for the samples it decodes to, so that a small file that
// claims a large picture is refused before the picture's memory is taken.
bool HoldsItsData(TIFF* tiff, const TiffLayout& layout, uint64_t fileSize);
