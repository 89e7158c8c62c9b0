#pragma once
// Inside the platform: the formats that open, each with the reader chosen
// for it. A file is read only by the reader of the format its content (or,
// for TARGA, which has no signature, its extension) names; nothing else is
// ever asked to try it.
#include "platform/files/decode/DecodeResult.h"

struct FormatReader {
  bool (*recognizes)(const EncodedFile& file);
  Reader read;
};

// The reader for the file's format, or null for content that is none of them.
const FormatReader* ReaderFor(const EncodedFile& file);
