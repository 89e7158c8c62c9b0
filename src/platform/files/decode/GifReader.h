#pragma once
// Inside the platform: GIF pictures.
#include "platform/files/decode/DecodeResult.h"

bool IsGif(const EncodedFile& file);
DecodeResult ReadGif(const EncodedFile& file, PictureMemory& memory);
