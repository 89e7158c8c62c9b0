#pragma once
// Bytes of picture files built by hand, for headers and data that no writer
// makes: huge sides, damage, hostile values.
#include <QByteArray>
#include <cstdint>

class QImage;

// The bytes of a PNG chunk, its CRC computed.
QByteArray PngChunk(const char* type, const QByteArray& data);
// A PNG of that size, bit depth and colour type whose every row holds zero
// samples (filter None); the data is compressed, so huge sides stay small.
QByteArray ZeroPng(uint32_t width, uint32_t height, int bitDepth, int colorType);
// A PNG whose header claims that size (8-bit RGBA) with almost no data.
QByteArray PngClaiming(uint32_t width, uint32_t height);
// A PNG of those scanlines (each with its filter byte), compressed into one
// IDAT chunk that the chunks given (PLTE, tRNS, ...) come before.
QByteArray PngOfScanlines(uint32_t width, uint32_t height, int bitDepth, int colorType,
                          const QByteArray& scanlines, const QByteArray& chunks = {});
// The JPEG with an EXIF block tagging its orientation (1 to 8) inserted
// after its start marker.
QByteArray WithExifOrientation(const QByteArray& jpeg, int orientation);
// A JPEG of the stored pixels written by Qt, tagged with that orientation.
QByteArray JpegWithOrientation(const QImage& stored, int orientation, int quality = 100);

// An 8-bit grayscale PSD of that size (a channel past the first is alpha,
// those past the second are extra): header, empty sections, then the
// compression and what follows it.
QByteArray PsdClaiming(uint32_t width, uint32_t height, uint16_t compression,
                       const QByteArray& rest, uint16_t channels = 1);
// A TARGA file: its header with these fields, the colour map and the pixel
// data as given (data may be run-length packets).
struct TargaMap {
  int firstIndex = 0, bits = 0;
  QByteArray entries;  // as stored
};
QByteArray Targa(int imageType, int width, int height, int bits, int descriptor,
                 const QByteArray& data, const TargaMap& map = {});
// An SGI file: its 512-byte header, then the data as given.
QByteArray Sgi(bool runLength, int sampleBytes, int dimension, int width, int height,
               int channels, const QByteArray& data);
// A run-length SGI of 8-bit samples whose every row of every channel is the
// one packed row after the tables, given that length and an offset moved on
// by shift bytes (past the file, when shift is large).
QByteArray SgiSharingOneRow(int width, int height, int channels, const QByteArray& packedRow,
                            uint32_t length, uint32_t shift = 0);
