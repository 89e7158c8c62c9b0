#pragma once
// Inside the platform: GraphicsMagick's reader of one named format, over the
// file's bytes.
#include "platform/files/decode/DecodeResult.h"

// Decodes the first picture of the file with GraphicsMagick's coder of that
// name ("SGI", "TGA"), never another one.
DecodeResult ReadWithMagick(const EncodedFile& file, PictureMemory& memory, const char* coder);
