#pragma once
// Bytes of picture files built by hand, for headers and data that no writer
// makes: huge sides, damage, hostile values.
#include <QByteArray>
#include <cstdint>

// The value in its last `bytes` bytes, most significant first.
QByteArray BigEndian(uint32_t value, int bytes);
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
