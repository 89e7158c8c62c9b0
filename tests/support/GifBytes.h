#pragma once
// GIF files of one frame built by hand, its colour indices coded with LZW
// here, so that huge sides, interlacing and damaged codes are cheap to make.
#include <QByteArray>
#include <QRgb>
#include <functional>
#include <vector>

struct GifPicture {
  int screenWidth = 0, screenHeight = 0;
  std::vector<QRgb> colors = {};  // the global table, up to 256
  int background = 0;        // the screen's colour index
  int left = 0, top = 0, width = 0, height = 0;  // the frame
  bool interlaced = false;
  int transparent = -1;  // the index shown transparent, if any
  // The frame's colour indices, a row of width bytes for each y.
  std::function<QByteArray(int y)> row = {};
  // Whether a full code table starts again with a clear code (what most
  // writers do) or is kept for the rest of the frame.
  bool clearWhenFull = true;
  // The share of the coded bytes written; the data blocks still end
  // properly, with their terminator.
  double codesKept = 1.0;
};

// The file: header, global table, a graphic control extension when a
// transparent index is given, the frame, then the trailer.
QByteArray GifFile(const GifPicture& picture);
