#include "PictureBytes.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>
#include <zlib.h>

#include "ByteOrder.h"

QByteArray PngChunk(const char* type, const QByteArray& data) {
  const QByteArray body = QByteArray(type, 4) + data;
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()));
  return BigEndian(uint32_t(data.size()), 4) + body + BigEndian(uint32_t(crc), 4);
}

namespace {
QByteArray Png(uint32_t width, uint32_t height, int bitDepth, int colorType, const QByteArray& idat,
               const QByteArray& chunks = {}) {
  const QByteArray header = BigEndian(width, 4) + BigEndian(height, 4) + char(bitDepth) +
                            char(colorType) + QByteArray(3, 0);
  return QByteArray("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", header) + chunks +
         PngChunk("IDAT", idat) + PngChunk("IEND", {});
}

int Channels(int colorType) {
  switch (colorType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
  }
}
}  // namespace

QByteArray ZeroPng(uint32_t width, uint32_t height, int bitDepth, int colorType) {
  const uint64_t rowBytes = (uint64_t(width) * Channels(colorType) * bitDepth + 7) / 8 + 1;
  const QByteArray row(qsizetype(rowBytes), '\0');
  z_stream stream{};
  deflateInit(&stream, Z_BEST_COMPRESSION);
  QByteArray out;
  char buffer[1 << 16];
  for (uint32_t y = 0; y <= height; ++y) {
    const bool last = y == height;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(row.constData()));
    stream.avail_in = last ? 0 : uInt(row.size());
    do {
      stream.next_out = reinterpret_cast<Bytef*>(buffer);
      stream.avail_out = sizeof buffer;
      deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
      out.append(buffer, qsizetype(sizeof buffer - stream.avail_out));
    } while (stream.avail_out == 0);
  }
  deflateEnd(&stream);
  return Png(width, height, bitDepth, colorType, out);
}

QByteArray PngClaiming(uint32_t width, uint32_t height) {
  return Png(width, height, 8, 6, QByteArray("\x78\x9C\x03\x00\x00\x00\x00\x01", 8));
}

QByteArray PngOfScanlines(uint32_t width, uint32_t height, int bitDepth, int colorType,
                          const QByteArray& scanlines, const QByteArray& chunks) {
  uLongf size = compressBound(uLong(scanlines.size()));
  QByteArray idat(qsizetype(size), '\0');
  compress(reinterpret_cast<Bytef*>(idat.data()), &size,
           reinterpret_cast<const Bytef*>(scanlines.constData()), uLong(scanlines.size()));
  idat.truncate(qsizetype(size));
  return Png(width, height, bitDepth, colorType, idat, chunks);
}

QByteArray WithExifOrientation(const QByteArray& jpeg, int orientation) {
  const char exif[] = {
      '\xFF', '\xE1', 0, 34, 'E', 'x', 'i', 'f', 0, 0,        // APP1, length 34
      'M', 'M', 0, 42, 0, 0, 0, 8,                            // big-endian TIFF header
      0, 1,                                                   // one entry
      1, 0x12, 0, 3, 0, 0, 0, 1, 0, char(orientation), 0, 0,  // Orientation, SHORT
      0, 0, 0, 0};                                            // no next directory
  return jpeg.left(2) + QByteArray(exif, sizeof exif) + jpeg.mid(2);
}

QByteArray JpegWithOrientation(const QImage& stored, int orientation, int quality) {
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(stored.save(&buffer, "JPEG", quality));
  return WithExifOrientation(jpeg, orientation);
}

QByteArray PsdClaiming(uint32_t width, uint32_t height, uint16_t compression,
                       const QByteArray& rest, uint16_t channels) {
  return QByteArray("8BPS\0\1\0\0\0\0\0\0", 12) + BigEndian(channels, 2) +
         BigEndian(height, 4) + BigEndian(width, 4) + BigEndian(8, 2) + BigEndian(1, 2) +
         QByteArray(12, 0) + BigEndian(compression, 2) + rest;
}

QByteArray Targa(int imageType, int width, int height, int bits, int descriptor,
                 const QByteArray& data, const TargaMap& map) {
  const int entryBytes = (map.bits + 7) / 8;
  const int entries = entryBytes ? int(map.entries.size()) / entryBytes : 0;
  return QByteArray(1, 0) + char(map.bits ? 1 : 0) + char(imageType) +
         LittleEndian(map.firstIndex, 2) + LittleEndian(entries, 2) + char(map.bits) +
         QByteArray(4, 0) + LittleEndian(width, 2) + LittleEndian(height, 2) + char(bits) +
         char(descriptor) + map.entries + data;
}

QByteArray Sgi(bool runLength, int sampleBytes, int dimension, int width, int height,
               int channels, const QByteArray& data) {
  QByteArray header = QByteArray("\x01\xDA", 2) + char(runLength) + char(sampleBytes) +
                      BigEndian(dimension, 2) + BigEndian(width, 2) + BigEndian(height, 2) +
                      BigEndian(channels, 2) + BigEndian(0, 4) +
                      BigEndian(sampleBytes == 1 ? 255 : 65535, 4);
  header.resize(512, 0);
  return header + data;
}

QByteArray SgiSharingOneRow(int width, int height, int channels, const QByteArray& packedRow,
                            uint32_t length, uint32_t shift) {
  const uint32_t rows = uint32_t(height * channels), offset = 512 + 8 * rows + shift;
  const QByteArray tables = BigEndian(offset, 4).repeated(rows) +
                           BigEndian(length, 4).repeated(rows);
  return Sgi(true, 1, 3, width, height, channels, tables + packedRow);
}
