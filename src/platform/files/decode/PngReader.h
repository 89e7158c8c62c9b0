#pragma once
// Inside the platform: PNG pictures.
#include "platform/files/decode/DecodeResult.h"

bool IsPng(const EncodedFile& file);
DecodeResult ReadPng(const EncodedFile& file, PictureMemory& memory);
