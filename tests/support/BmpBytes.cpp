#include "BmpBytes.h"

#include <cstdlib>

#include "ByteOrder.h"

QByteArray BmpFile(const BmpLayout& h, const QByteArray& pixels) {
  QByteArray header;
  if (h.headerSize == 12) {
    header = LittleEndian(12, 4) + LittleEndian(uint32_t(h.width), 2) +
             LittleEndian(uint32_t(h.height), 2) + LittleEndian(1, 2) +
             LittleEndian(uint32_t(h.bitsPerPixel), 2);
  } else {
    header = LittleEndian(uint32_t(h.headerSize), 4) + LittleEndian(uint32_t(h.width), 4) +
             LittleEndian(uint32_t(h.height), 4) + LittleEndian(1, 2) +
             LittleEndian(uint32_t(h.bitsPerPixel), 2) + LittleEndian(h.compression, 4) +
             LittleEndian(uint32_t(pixels.size()), 4) + LittleEndian(2835, 4) +
             LittleEndian(2835, 4) + LittleEndian(uint32_t(h.palette.size()), 4) +
             LittleEndian(0, 4);
  }
  QByteArray masks;
  for (uint32_t mask : h.masks) masks += LittleEndian(mask, 4);
  if (h.headerSize > 40) {
    header += masks.leftJustified(h.headerSize - 40, '\0', true);
    masks.clear();
  }
  QByteArray palette;
  for (QRgb colour : h.palette) {
    palette += LittleEndian(colour & 0xFFFFFF, 3);
    if (h.headerSize != 12) palette += '\0';
  }
  const uint32_t offset = uint32_t(14 + header.size() + masks.size() + palette.size());
  return "BM" + LittleEndian(offset + uint32_t(pixels.size()), 4) + LittleEndian(0, 4) +
         LittleEndian(offset, 4) + header + masks + palette + pixels;
}

QByteArray BmpRows(const BmpLayout& h, const std::function<uint32_t(int x, int y)>& value) {
  const int height = std::abs(h.height), bits = h.bitsPerPixel;
  const qsizetype rowBytes = (qsizetype(h.width) * bits + 31) / 32 * 4;
  QByteArray rows;
  rows.reserve(rowBytes * height);
  for (int stored = 0; stored < height; ++stored) {
    const int y = h.height < 0 ? stored : height - 1 - stored;
    QByteArray row(rowBytes, '\0');
    for (int x = 0; x < h.width; ++x) {
      const uint32_t v = value(x, y);
      if (bits < 8) {
        const int bit = x * bits;
        row[bit / 8] = char(uint8_t(row[bit / 8]) | v << (8 - bits - bit % 8));
      } else {
        for (int i = 0; i < bits / 8; ++i) row[x * bits / 8 + i] = char(v >> (8 * i));
      }
    }
    rows += row;
  }
  return rows;
}

QByteArray BmpRle(const BmpLayout& h, const std::function<uint8_t(int x, int y)>& index) {
  const int height = std::abs(h.height);
  QByteArray data;
  for (int stored = 0; stored < height; ++stored) {
    const int y = h.height < 0 ? stored : height - 1 - stored;
    for (int x = 0; x < h.width;) {
      const uint8_t value = index(x, y);
      int run = 1;
      while (x + run < h.width && run < 255 && index(x + run, y) == value) ++run;
      data += char(run);
      data += char(h.bitsPerPixel == 4 ? value << 4 | value : value);
      x += run;
    }
    data += QByteArray(stored == height - 1 ? "\0\1" : "\0\0", 2);
  }
  return data;
}
