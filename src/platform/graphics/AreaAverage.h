#pragma once
// Inside the platform: scaling down by area averaging, for pictures with
// transparency, read straight from the source's rows.
#include <QImage>

// The part of source (Format_ARGB32, straight alpha) scaled down to
// width x height: each result pixel averages the source area it covers,
// colours weighted by their alpha. Neither side may grow. Unlike Qt's smooth
// scaling, which first makes a premultiplied copy of the whole part, this
// needs only the result and two rows beside it. A null image when the
// result's memory cannot be had.
QImage AreaAverage(const QImage& source, int sourceX, int sourceY, int sourceWidth,
                   int sourceHeight, int width, int height);
