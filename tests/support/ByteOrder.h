#pragma once
// Numbers as files store them, in a given number of bytes: most significant
// byte first (big-endian) or last (little-endian).
#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

// The value's last `bytes` bytes.
QByteArray BigEndian(uint32_t value, int bytes);
QByteArray LittleEndian(uint32_t value, int bytes);

// The number in the `bytes` bytes at `at`.
uint32_t ReadBigEndian(QByteArrayView data, qsizetype at, int bytes);
uint32_t ReadLittleEndian(QByteArrayView data, qsizetype at, int bytes);
