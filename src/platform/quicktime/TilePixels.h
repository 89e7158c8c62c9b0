#pragma once
// Inside the graphics exporter: pixel tests and conversions shared by the
// encoders. Tiles are QImage::Format_ARGB32 with straight alpha.
#include <QImage>

// True when some pixel of the image is not fully opaque.
bool HasTransparentPixel(const QImage& image);
// Composes the image onto white into an opaque Format_RGB32 image of the same
// size, reusing into's memory when it already has that size.
void FlattenOntoWhite(const QImage& image, QImage& into);
