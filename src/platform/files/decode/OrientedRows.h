#pragma once
// Inside the platform: puts a picture's stored rows where its orientation
// (EXIF or TIFF Orientation, 1 to 8) shows them, as a reader decodes them, so
// that turning the picture takes no second copy of it.
#include <QImage>
#include <cstdint>
#include <vector>

class OrientedRows {
 public:
  // Whether the orientation shows stored rows as columns (5 to 8).
  static bool Turns(int orientation);
  // The memory a reader needs beside the picture for rows of that width.
  static uint64_t WorkingBytes(int64_t storedWidth, int orientation);

  // picture: the shown picture, its sides swapped from the stored ones when
  // the orientation turns it. An orientation outside 1 to 8 is taken as 1.
  OrientedRows(QImage& picture, int orientation);

  // How many rows from stored row y Row() hands out before they must be placed.
  int Room(int y) const;
  // Where stored row y is to be written: the stored width in ARGB32 pixels.
  QRgb* Row(int y);
  // Stored rows y to y + count - 1 are written: puts them where they are
  // shown. Rows come top first, each once.
  void Place(int y, int count);

 private:
  QRgb* ShownRow(int row) { return reinterpret_cast<QRgb*>(bits_ + row * stride_); }
  void PlaceBandAsColumns(int end);

  uchar* bits_;
  qsizetype stride_;
  int orientation_;
  int storedWidth_, storedHeight_;
  std::vector<QRgb> band_;  // turned pictures: the stored rows not yet placed
};
