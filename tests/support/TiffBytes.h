#pragma once
// TIFFs written by libtiff for the tests, of every kind the reader takes:
// sample widths, colour spaces, layouts, compressions and orientations.
#include <tiffio.h>

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <vector>

struct TiffWriting {
  int width = 32, height = 24;
  uint16_t photometric = PHOTOMETRIC_RGB;
  int bits = 8;
  int samples = 3;                     // a pixel, extra samples included
  std::vector<uint16_t> extraSamples;  // the kind of each sample after the colours
  bool planar = false;
  uint16_t compression = COMPRESSION_NONE;
  uint32_t rowsPerStrip = 0;       // 0: the whole picture in one strip
  uint32_t tileSide = 0;           // 0: strips
  uint16_t orientation = 0;        // 0: no tag
  std::vector<uint16_t> colormap;  // palette: the reds, then the greens, then the blues
  // Sample s of stored pixel (x, y); for YCbCr in JPEG, the R, G and B given to libtiff.
  std::function<uint32_t(int x, int y, int s)> sample;
};

QByteArray WriteTiff(const TiffWriting& writing);
// The TIFF as written, but with the compressed data of its last strip or
// tile cut to `keep` of its bytes (and its byte count telling so).
QByteArray WithLastStripCut(const TiffWriting& writing, double keep);
// A TIFF of one LZW strip that claims width x height RGB pixels but holds
// only `bytes` bytes of data.
QByteArray TiffClaiming(uint32_t width, uint32_t height, int bytes);
