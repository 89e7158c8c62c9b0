// Chooses the PNG encoder's filter and libdeflate level: every filter at
// several levels on 256 x 256 tiles of each photograph, opaque and with
// alpha, against today's zlib settings as a reference.
//
//   png_tuning [--runs N] PHOTO...
//
// The alpha variant of a photograph fades from opaque in the middle to
// transparent at the corners. Each time is the median of N runs (5 by
// default) made in turn with the other settings, printed with the minimum
// and maximum; the bytes are those of whole PNG files.
#include <QImage>
#include <QImageReader>
#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "PngFilters.h"
#include "platform/quicktime/PngFile.h"
#include "platform/quicktime/PngScanlines.h"

namespace {
constexpr int kTile = 256;

struct Setting {
  std::string name;
  PngRowFilter filter;
  int level;      // libdeflate level, or zlib's with zlibRle
  bool zlibRle;
};

std::vector<QImage> Tiles(const QImage& picture) {
  std::vector<QImage> tiles;
  for (int x = 0; x < picture.width(); x += kTile)
    for (int y = 0; y < picture.height(); y += kTile) {
      QImage tile(kTile, kTile, QImage::Format_ARGB32);
      tile.fill(0u);
      const int w = std::min(kTile, picture.width() - x), h = std::min(kTile, picture.height() - y);
      for (int row = 0; row < h; ++row)
        std::memcpy(tile.scanLine(row), picture.constScanLine(y + row) + x * 4, size_t(w) * 4);
      tiles.push_back(tile);
    }
  return tiles;
}

QImage WithAlpha(QImage picture) {
  const double cx = picture.width() / 2.0, cy = picture.height() / 2.0;
  for (int y = 0; y < picture.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      const double d = std::hypot((x - cx) / cx, (y - cy) / cy) / std::sqrt(2.0);
      const int alpha = std::clamp(int(std::lround(255 * (1.5 - 1.5 * d))), 0, 255);
      row[x] = (row[x] & 0xFFFFFFu) | (uint32_t(alpha) << 24);
    }
  }
  return picture;
}

bool Opaque(const QImage& tile) {
  for (int y = 0; y < tile.height(); ++y)
    for (int x = 0; x < tile.width(); ++x)
      if (qAlpha(reinterpret_cast<const QRgb*>(tile.constScanLine(y))[x]) != 255) return false;
  return true;
}

size_t ZlibRle(const std::vector<uint8_t>& in, int level, std::vector<uint8_t>& out) {
  z_stream stream{};
  deflateInit2(&stream, level, Z_DEFLATED, 15, 8, Z_RLE);
  out.resize(deflateBound(&stream, in.size()));
  stream.next_in = const_cast<uint8_t*>(in.data());
  stream.avail_in = uInt(in.size());
  stream.next_out = out.data();
  stream.avail_out = uInt(out.size());
  deflate(&stream, Z_FINISH);
  const size_t size = stream.total_out;
  deflateEnd(&stream);
  return size;
}

// Seconds and bytes of encoding every tile with the setting.
std::pair<double, size_t> Encode(const std::vector<QImage>& tiles, const std::vector<bool>& opaque,
                                 const Setting& setting) {
  libdeflate_compressor* compressor = setting.zlibRle ? nullptr : libdeflate_alloc_compressor(setting.level);
  PngScanlines scanlines(setting.filter);
  std::vector<uint8_t> filtered, deflated, file;
  size_t bytes = 0;
  const auto start = std::chrono::steady_clock::now();
  for (size_t i = 0; i < tiles.size(); ++i) {
    const QImage& tile = tiles[i];
    const bool alpha = !opaque[i];
    const size_t scanline = PngScanlines::Size(tile.width(), alpha);
    filtered.resize(scanline * size_t(tile.height()));
    scanlines.Begin(tile.width(), alpha);
    for (int y = 0; y < tile.height(); ++y)
      scanlines.Write(reinterpret_cast<const QRgb*>(tile.constScanLine(y)), filtered.data() + scanline * size_t(y));
    size_t size = 0;
    if (compressor) {
      deflated.resize(libdeflate_zlib_compress_bound(compressor, filtered.size()));
      size = libdeflate_zlib_compress(compressor, filtered.data(), filtered.size(), deflated.data(), deflated.size());
    } else {
      size = ZlibRle(filtered, setting.level, deflated);
    }
    AssemblePng(uint32_t(tile.width()), uint32_t(tile.height()), alpha, {deflated.data(), size}, file);
    bytes += file.size();
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  libdeflate_free_compressor(compressor);
  return {seconds, bytes};
}
}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  std::vector<std::string> photos;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--runs" && i + 1 < argc) runs = std::atoi(argv[++i]);
    else photos.push_back(argv[i]);
  }
  std::vector<Setting> settings = {{"zlib RLE 6, Average", PngAverageFilter, 6, true}};
  const std::pair<const char*, PngRowFilter> filters[] = {{"None", PngNoneFilter},       {"Sub", PngSubFilter},
                                                          {"Up", PngUpFilter},           {"Average", PngAverageFilter},
                                                          {"Paeth", PngPaethFilter},     {"MinimumSum", PngMinimumSumFilter}};
  for (int level : {1, 2, 4, 6})
    for (auto [name, filter] : filters)
      settings.push_back({"libdeflate " + std::to_string(level) + ", " + name, filter, level, false});

  for (const std::string& path : photos) {
    const QImage photo = QImageReader(QString::fromStdString(path)).read().convertToFormat(QImage::Format_ARGB32);
    for (const bool alpha : {false, true}) {
      const std::vector<QImage> tiles = Tiles(alpha ? WithAlpha(photo) : photo);
      std::vector<bool> opaque;
      for (const QImage& tile : tiles) opaque.push_back(Opaque(tile));
      const double megapixels = double(tiles.size()) * kTile * kTile / 1e6;
      std::printf("%s%s: %zu tiles, %.1f MP\n", path.c_str(), alpha ? " with alpha" : "", tiles.size(), megapixels);
      std::vector<std::vector<double>> seconds(settings.size());
      std::vector<size_t> bytes(settings.size());
      for (int run = 0; run < runs; ++run)
        for (size_t s = 0; s < settings.size(); ++s) {
          const auto [time, size] = Encode(tiles, opaque, settings[s]);
          seconds[s].push_back(time);
          bytes[s] = size;
        }
      std::printf("  %-26s %9s %8s  %s\n", "setting", "MB", "vs zlib", "MP/s median (min - max)");
      for (size_t s = 0; s < settings.size(); ++s) {
        std::vector<double>& t = seconds[s];
        std::sort(t.begin(), t.end());
        std::printf("  %-26s %9.2f %+7.1f%%  %6.1f (%.1f - %.1f)\n", settings[s].name.c_str(), bytes[s] / 1e6,
                    100.0 * (double(bytes[s]) / double(bytes[0]) - 1), megapixels / t[t.size() / 2],
                    megapixels / t.back(), megapixels / t.front());
      }
      std::printf("\n");
      std::fflush(stdout);
    }
  }
  return 0;
}
