#pragma once
// Inside the platform: the merged picture of a Photoshop file (PSD or PSB),
// 8 or 16 bits a channel, grayscale, duotone, indexed, RGB or CMYK, a channel
// past the colour channels read as alpha. Layers are not read.
#include "platform/files/decode/DecodeResult.h"

bool IsPsd(const EncodedFile& file);
DecodeResult ReadPsd(const EncodedFile& file, PictureMemory& memory);
