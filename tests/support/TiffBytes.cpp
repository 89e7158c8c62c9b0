#include "TiffBytes.h"

#include <QTemporaryDir>
#include <cstring>

#include "FileBytes.h"

namespace {

void SetTags(TIFF* tiff, const TiffWriting& w) {
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(w.width));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(w.height));
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(w.bits));
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(w.samples));
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, w.photometric);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, w.planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, w.compression);
  if (w.compression == COMPRESSION_ADOBE_DEFLATE || w.compression == COMPRESSION_DEFLATE)
    TIFFSetField(tiff, TIFFTAG_ZIPQUALITY, 1);  // fast: large pictures are written in tests
  if (!w.extraSamples.empty())
    TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, uint16_t(w.extraSamples.size()),
                 w.extraSamples.data());
  if (w.orientation) TIFFSetField(tiff, TIFFTAG_ORIENTATION, w.orientation);
  if (!w.colormap.empty()) {
    const size_t entries = w.colormap.size() / 3;
    TIFFSetField(tiff, TIFFTAG_COLORMAP, w.colormap.data(), w.colormap.data() + entries,
                 w.colormap.data() + 2 * entries);
  }
  if (w.photometric == PHOTOMETRIC_YCBCR) TIFFSetField(tiff, TIFFTAG_YCBCRSUBSAMPLING, 2, 2);
  if (w.tileSide) {
    TIFFSetField(tiff, TIFFTAG_TILEWIDTH, w.tileSide);
    TIFFSetField(tiff, TIFFTAG_TILELENGTH, w.tileSide);
  } else {
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, w.rowsPerStrip ? w.rowsPerStrip : uint32_t(w.height));
  }
}

// Pixels x0 to x0 + width - 1 of row y, all their samples or sample s
// alone, packed as the file stores them (0 past the picture's edges).
void PackRow(const TiffWriting& w, int y, int x0, int width, int s, bool all, uint8_t* out) {
  const int count = all ? w.samples : 1;
  std::memset(out, 0, (size_t(width) * count * w.bits + 7) / 8);
  for (int x = 0; x < width; ++x)
    for (int i = 0; i < count; ++i) {
      const uint32_t value =
          x0 + x < w.width && y < w.height ? w.sample(x0 + x, y, all ? i : s) : 0;
      const size_t index = size_t(x) * count + i;
      if (w.bits == 16) {
        const uint16_t wide = uint16_t(value);
        std::memcpy(out + 2 * index, &wide, 2);
      } else if (w.bits == 8) {
        out[index] = uint8_t(value);
      } else {
        const size_t bit = index * w.bits;
        out[bit / 8] |= uint8_t(value << (8 - w.bits - bit % 8));
      }
    }
}

void WritePixels(TIFF* tiff, const TiffWriting& w) {
  if (w.photometric == PHOTOMETRIC_YCBCR) {
    TIFFSetField(tiff, TIFFTAG_JPEGQUALITY, 95);
    TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
  }
  const int planes = w.planar ? w.samples : 1;
  if (w.tileSide) {
    std::vector<uint8_t> tile(TIFFTileSize64(tiff));
    const int rowBytes = int(TIFFTileRowSize64(tiff));
    for (int s = 0; s < planes; ++s)
      for (int y = 0; y < w.height; y += int(w.tileSide))
        for (int x = 0; x < w.width; x += int(w.tileSide)) {
          for (uint32_t r = 0; r < w.tileSide; ++r)
            PackRow(w, y + int(r), x, int(w.tileSide), s, !w.planar, tile.data() + r * rowBytes);
          TIFFWriteTile(tiff, tile.data(), uint32_t(x), uint32_t(y), 0, uint16_t(s));
        }
  } else {
    std::vector<uint8_t> row(TIFFScanlineSize64(tiff));
    for (int s = 0; s < planes; ++s)
      for (int y = 0; y < w.height; ++y) {
        PackRow(w, y, 0, w.width, s, !w.planar, row.data());
        TIFFWriteScanline(tiff, row.data(), uint32_t(y), uint16_t(s));
      }
  }
}

}  // namespace

QByteArray WriteTiff(const TiffWriting& writing) {
  QTemporaryDir dir;
  const QString path = dir.filePath("written.tif");
  TIFF* tiff = TIFFOpen(path.toLocal8Bit().constData(), "w");
  SetTags(tiff, writing);
  WritePixels(tiff, writing);
  TIFFClose(tiff);
  return Read(path);
}

QByteArray WithLastStripCut(const TiffWriting& writing, double keep) {
  QTemporaryDir dir;
  const QString whole = dir.filePath("whole.tif"), cut = dir.filePath("cut.tif");
  Write(whole, WriteTiff(writing));
  TIFF* in = TIFFOpen(whole.toLocal8Bit().constData(), "r");
  TIFF* tiff = TIFFOpen(cut.toLocal8Bit().constData(), "w");
  SetTags(tiff, writing);
  uint32_t tablesSize = 0;
  void* tables = nullptr;
  if (TIFFGetField(in, TIFFTAG_JPEGTABLES, &tablesSize, &tables))
    TIFFSetField(tiff, TIFFTAG_JPEGTABLES, tablesSize, tables);
  const bool tiled = TIFFIsTiled(in);
  const uint32_t count = tiled ? TIFFNumberOfTiles(in) : TIFFNumberOfStrips(in);
  for (uint32_t i = 0; i < count; ++i) {
    std::vector<uint8_t> data(TIFFGetStrileByteCount(in, i));
    tiled ? TIFFReadRawTile(in, i, data.data(), tmsize_t(data.size()))
          : TIFFReadRawStrip(in, i, data.data(), tmsize_t(data.size()));
    const auto size = tmsize_t(i + 1 == count ? data.size() * keep : data.size());
    tiled ? TIFFWriteRawTile(tiff, i, data.data(), size)
          : TIFFWriteRawStrip(tiff, i, data.data(), size);
  }
  TIFFClose(in);
  TIFFClose(tiff);
  return Read(cut);
}

QByteArray TiffClaiming(uint32_t width, uint32_t height, int bytes) {
  QTemporaryDir dir;
  const QString path = dir.filePath("claims.tif");
  TIFF* tiff = TIFFOpen(path.toLocal8Bit().constData(), "w");
  TiffWriting writing;
  writing.width = int(width);
  writing.height = int(height);
  writing.compression = COMPRESSION_LZW;
  SetTags(tiff, writing);
  const std::vector<uint8_t> data(size_t(bytes), 0x80);
  TIFFWriteRawStrip(tiff, 0, const_cast<uint8_t*>(data.data()), tmsize_t(data.size()));
  TIFFClose(tiff);
  return Read(path);
}
