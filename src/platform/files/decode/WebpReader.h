#pragma once
// Inside the platform: WebP pictures.
#include "platform/files/decode/DecodeResult.h"

bool IsWebp(const EncodedFile& file);
DecodeResult ReadWebp(const EncodedFile& file, PictureMemory& memory);
