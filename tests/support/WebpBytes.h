#pragma once
// Animated WebP files built by hand around the bitstreams of still ones, so
// that frames can stand anywhere on their canvas.
#include <QByteArray>
#include <vector>

struct WebpFrame {
  QByteArray bitstream;  // a VP8L or VP8 chunk, its header included
  int x = 0, y = 0;      // even
  int width = 0, height = 0;
};

// The chunk of that type ("VP8L", "VP8 ") in a WebP file, its header included.
QByteArray WebpChunk(const QByteArray& webp, const char* type);
// An animation of those frames on a transparent canvas of that size.
QByteArray AnimatedWebp(int canvasWidth, int canvasHeight, const std::vector<WebpFrame>& frames);
