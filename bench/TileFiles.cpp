#include "TileFiles.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "ByteOrder.h"

namespace {
// The layers a Photoshop file holds beside its flat picture, or -1 when the
// file cannot be read as one.
int PhotoshopLayers(const std::vector<unsigned char>& b) {
  size_t at = 26;
  for (int section = 0; section < 2; ++section) {  // colour mode data, image resources
    if (b.size() < at + 4) return -1;
    at += 4 + ReadBigEndian(b, at, 4);
  }
  if (b.size() < at + 4) return -1;
  if (ReadBigEndian(b, at, 4) == 0) return 0;           // no layer and mask section
  if (b.size() < at + 10) return -1;
  if (ReadBigEndian(b, at + 4, 4) == 0) return 0;       // no layer information
  return std::abs(int16_t(ReadBigEndian(b, at + 8, 2)));
}

// The file's first bytes: enough for its format and its sections' sizes.
std::vector<unsigned char> Head(const std::filesystem::path& path) {
  std::vector<unsigned char> head(64 * 1024);
  std::ifstream in(path, std::ios::binary);
  in.read(reinterpret_cast<char*>(head.data()), std::streamsize(head.size()));
  head.resize(size_t(in.gcount()));
  return head;
}

// Why the file is not one picture in the format; empty when it is.
std::string Problem(const std::vector<unsigned char>& b, TileFormat format) {
  auto startsWith = [&](std::initializer_list<unsigned char> magic) {
    return b.size() >= magic.size() && std::equal(magic.begin(), magic.end(), b.begin());
  };
  switch (format) {
    case TileFormat::kJpeg:
      return startsWith({0xFF, 0xD8, 0xFF}) ? "" : "not JPEG data";
    case TileFormat::kPng:
      return startsWith({0x89, 'P', 'N', 'G'}) ? "" : "not PNG data";
    case TileFormat::kTarga:
      // True-colour (2) or its run-length form (10), 24 or 32 bits a pixel.
      return b.size() > 18 && (b[2] == 2 || b[2] == 10) && (b[16] == 24 || b[16] == 32) ? "" : "not true-colour TARGA";
    case TileFormat::kPhotoshop: {
      if (!startsWith({'8', 'B', 'P', 'S'})) return "not Photoshop data";
      const int layers = PhotoshopLayers(b);
      if (layers < 0) return "an unreadable Photoshop file";
      return layers <= 1 ? "" : std::to_string(layers) + " layers in one file";
    }
    case TileFormat::kSgi:
      return startsWith({0x01, 0xDA}) ? "" : "not SGI data";
    case TileFormat::kBmp:
      return startsWith({'B', 'M'}) ? "" : "not BMP data";
  }
  return "an unknown format";
}
}  // namespace

TileFiles InspectTiles(const std::string& folder, const std::string& extension, TileFormat format) {
  TileFiles found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().extension() != "." + extension) continue;
    ++found.files;
    found.bytes += entry.file_size();
    if (found.problem.empty()) {
      const std::string problem = Problem(Head(entry.path()), format);
      if (!problem.empty()) found.problem = entry.path().filename().string() + ": " + problem;
    }
  }
  return found;
}
