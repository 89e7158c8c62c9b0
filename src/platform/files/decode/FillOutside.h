#pragma once
// Inside the platform: the part of a picture that a frame leaves uncovered.
#include <QImage>
#include <QRect>

// Fills the picture outside the area (which may reach past the picture, or
// miss it) with one colour.
void FillOutside(QImage& image, const QRect& area, QRgb colour);
