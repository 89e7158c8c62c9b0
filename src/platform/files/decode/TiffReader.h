#pragma once
// Inside the platform: TIFF pictures.
#include "platform/files/decode/DecodeResult.h"

bool IsTiff(const EncodedFile& file);
DecodeResult ReadTiff(const EncodedFile& file, PictureMemory& memory);
