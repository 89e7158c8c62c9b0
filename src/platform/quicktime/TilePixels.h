#pragma once
// Inside the graphics exporter: pixel tests and conversions shared by the
// encoders. Tiles are QImage::Format_ARGB32 with straight alpha.
#include <QImage>

struct PictureImage;

// True when some pixel of the tile is not fully opaque. A tile known to be
// opaque is not read; otherwise each row is read once at most.
bool HasTransparentPixel(const PictureImage& tile);
// True when every pixel of the row is fully opaque.
bool RowIsOpaque(const QRgb* row, int width);
// The row composed onto white, opaque, into width pixels at into.
void FlattenRowOntoWhite(const QRgb* row, int width, QRgb* into);
// Composes the image onto white into an opaque Format_RGB32 image of the same
// size, reusing into's memory when it already has that size.
void FlattenOntoWhite(const QImage& image, QImage& into);
