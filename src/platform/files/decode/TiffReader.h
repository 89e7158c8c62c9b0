#pragma once
// Inside the platform: TIFF pictures through libtiff, the first directory
// only, each stored row converted to ARGB32 and put where the Orientation tag
// shows it.
#include "platform/files/decode/DecodeResult.h"

bool IsTiff(const EncodedFile& file);
DecodeResult ReadTiff(const EncodedFile& file, PictureMemory& memory);
