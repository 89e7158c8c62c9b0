#pragma once
// Inside the platform: BMP pictures.
#include "platform/files/decode/DecodeResult.h"

bool IsBmp(const EncodedFile& file);
DecodeResult ReadBmp(const EncodedFile& file, PictureMemory& memory);
