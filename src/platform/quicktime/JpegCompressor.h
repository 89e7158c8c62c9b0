#pragma once
// Inside the graphics exporter: libjpeg-turbo's compressor, kept from tile to
// tile, writing baseline JPEG with optimised Huffman tables into memory it
// keeps. Rows are 32-bit pixels in Format_RGB32 memory order; the alpha byte
// is not read.
#include <QRgb>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

struct JpegSettings {
  int quality;                // libjpeg quality 1 .. 100
  bool fullResolutionChroma;  // 4:4:4, or 4:2:0 when false
};

class JpegCompressor {
 public:
  JpegCompressor();
  ~JpegCompressor();
  JpegCompressor(const JpegCompressor&) = delete;
  JpegCompressor& operator=(const JpegCompressor&) = delete;

  // Rows are asked for in order, up to kRowsAtOnce at a time: rowsAt(y, count,
  // rows) sets rows[0 .. count - 1] to rows y .. y + count - 1, which stay
  // valid until the next call.
  static constexpr int kRowsAtOnce = 16;
  using RowsAt = std::function<void(int y, int count, const QRgb** rows)>;

  // Compresses width x height pixels. False, with the reason in error, when
  // libjpeg fails.
  bool Compress(int width, int height, const JpegSettings& settings, const RowsAt& rowsAt, std::string& error);
  // The file that the last successful Compress made; valid until the next.
  std::span<const uint8_t> Output() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};
