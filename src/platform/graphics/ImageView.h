#pragma once
// Inside the platform: a picture's rectangle without a copy of its pixels.
#include <QImage>

// A read-only view of the rectangle of image, which must lie inside it: the
// rectangle's rows in image's own memory, kept alive by the view. The first
// write to the view (QImage::bits(), scanLine()) copies it into memory of its
// own; a later write to image leaves the view as it was.
QImage ReadOnlyView(const QImage& image, int x, int y, int width, int height);
