#pragma once
// Inside the platform: TARGA pictures.
#include "platform/files/decode/DecodeResult.h"

bool IsTarga(const EncodedFile& file);
DecodeResult ReadTarga(const EncodedFile& file, PictureMemory& memory);
