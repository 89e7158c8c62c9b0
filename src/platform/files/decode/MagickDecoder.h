#pragma once
// Inside the platform: GraphicsMagick, for the raster formats that Qt does not
// read. Only a format that GraphicsMagick recognises by the file's content
// and that is on its list is read, or TARGA (which has no signature) by the
// file's extension; text-like and vector formats never are.
#include "platform/files/decode/DecodeResult.h"

DecodeResult DecodeWithMagick(const QString& path, QByteArrayView head);
