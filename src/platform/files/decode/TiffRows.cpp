#include "platform/files/decode/TiffRows.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The samples read: all of them in one plane, or the colours and the alpha
// each in its own.
std::vector<int> PlanesRead(const TiffLayout& layout) {
  if (!layout.planar) return {0};
  std::vector<int> planes;
  for (int s = 0; s < layout.Colours(); ++s) planes.push_back(s);
  if (layout.alpha >= 0) planes.push_back(layout.alpha);
  return planes;
}

struct TileSize {
  uint32_t width = 0, height = 0;
  uint64_t across = 0;  // tiles in a row of tiles
};

TileSize TileSizeOf(TIFF* tiff, const TiffLayout& layout) {
  TileSize size;
  TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &size.width);
  TIFFGetField(tiff, TIFFTAG_TILELENGTH, &size.height);
  if (size.width) size.across = (uint64_t(layout.width) + size.width - 1) / size.width;
  return size;
}

// Strips a row at a time. Rows of separate planes are read through a handle
// of their own for each plane, so that each decodes its strips in order.
class StripRows : public TiffRows {
 public:
  StripRows(std::vector<TiffFile*> handles, std::vector<std::unique_ptr<TiffFile>> owned,
            const TiffLayout& layout)
      : handles_(std::move(handles)), owned_(std::move(owned)), planes_(PlanesRead(layout)) {
    rows_.resize(planes_.size(), std::vector<uint8_t>(TIFFScanlineSize64(handles_[0]->Handle())));
  }

  bool Next(const uint8_t** planes) override {
    for (size_t p = 0; p < planes_.size(); ++p) {
      TiffFile& file = *handles_[p];
      if (TIFFReadScanline(file.Handle(), rows_[p].data(), row_, uint16_t(planes_[p])) < 0 ||
          file.Damaged())
        return false;
      planes[planes_[p]] = rows_[p].data();
    }
    ++row_;
    return true;
  }

 private:
  std::vector<TiffFile*> handles_;
  std::vector<std::unique_ptr<TiffFile>> owned_;
  std::vector<int> planes_;
  std::vector<std::vector<uint8_t>> rows_;
  uint32_t row_ = 0;
};

// A row of tiles at a time, of each plane read, and each row put together
// from the tiles' rows.
class TileRows : public TiffRows {
 public:
  TileRows(TiffFile& file, const TiffLayout& layout)
      : file_(file),
        tile_(TileSizeOf(file.Handle(), layout)),
        tileBytes_(TIFFTileSize64(file.Handle())),
        tileRowBytes_(TIFFTileRowSize64(file.Handle())),
        rowBytes_(TIFFScanlineSize64(file.Handle())),
        planes_(PlanesRead(layout)) {
    tiles_.resize(planes_.size(), std::vector<uint8_t>(tile_.across * tileBytes_));
    rows_.resize(planes_.size(), std::vector<uint8_t>(rowBytes_));
  }

  bool Next(const uint8_t** planes) override {
    const uint32_t inTile = row_ % tile_.height;
    for (size_t p = 0; p < planes_.size(); ++p) {
      uint8_t* tiles = tiles_[p].data();
      if (inTile == 0 && !ReadTileRow(p, tiles)) return false;
      uint8_t* row = rows_[p].data();
      for (uint64_t t = 0, at = 0; t < tile_.across; ++t, at += tileRowBytes_)
        std::memcpy(row + at, tiles + t * tileBytes_ + inTile * tileRowBytes_,
                    std::min(tileRowBytes_, rowBytes_ - at));
      planes[planes_[p]] = row;
    }
    ++row_;
    return true;
  }

 private:
  bool ReadTileRow(size_t p, uint8_t* tiles) {
    for (uint64_t t = 0; t < tile_.across; ++t) {
      const uint32_t x = uint32_t(t * tile_.width);
      const uint32_t tile = TIFFComputeTile(file_.Handle(), x, row_, 0, uint16_t(planes_[p]));
      const tmsize_t read =
          TIFFReadEncodedTile(file_.Handle(), tile, tiles + t * tileBytes_, tmsize_t(tileBytes_));
      if (read < 0 || file_.Damaged()) return false;
    }
    return true;
  }

  TiffFile& file_;
  TileSize tile_;
  uint64_t tileBytes_, tileRowBytes_, rowBytes_;
  std::vector<int> planes_;
  std::vector<std::vector<uint8_t>> tiles_, rows_;
  uint32_t row_ = 0;
};

}  // namespace

uint64_t TiffRows::WorkingBytes(TIFF* tiff, const TiffLayout& layout) {
  const uint64_t planes = PlanesRead(layout).size(), row = TIFFScanlineSize64(tiff);
  if (!TIFFIsTiled(tiff)) return planes * row;
  return planes * (TileSizeOf(tiff, layout).across * TIFFTileSize64(tiff) + row);
}

std::unique_ptr<TiffRows> TiffRows::Of(TiffFile& file, std::span<const uint8_t> bytes,
                                       const TiffLayout& layout) {
  if (TIFFIsTiled(file.Handle())) return std::make_unique<TileRows>(file, layout);
  std::vector<TiffFile*> handles{&file};
  std::vector<std::unique_ptr<TiffFile>> owned;
  while (handles.size() < PlanesRead(layout).size()) {
    owned.push_back(TiffFile::Open(bytes));
    if (!owned.back()) return nullptr;
    owned.back()->StartDecoding();
    handles.push_back(owned.back().get());
  }
  return std::make_unique<StripRows>(std::move(handles), std::move(owned), layout);
}
