#include "ByteOrder.h"

QByteArray BigEndian(uint32_t value, int bytes) {
  QByteArray out;
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out.append(char(value >> shift));
  return out;
}

QByteArray LittleEndian(uint32_t value, int bytes) {
  QByteArray out;
  for (int i = 0; i < bytes; ++i) out.append(char(value >> (8 * i)));
  return out;
}

uint32_t ReadBigEndian(QByteArrayView data, qsizetype at, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | uint8_t(data[at + i]);
  return value;
}

uint32_t ReadLittleEndian(QByteArrayView data, qsizetype at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | uint8_t(data[at + i]);
  return value;
}
