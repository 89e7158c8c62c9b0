#pragma once
// Inside the platform: SGI image pictures.
#include "platform/files/decode/DecodeResult.h"

bool IsSgi(const EncodedFile& file);
DecodeResult ReadSgi(const EncodedFile& file, PictureMemory& memory);
