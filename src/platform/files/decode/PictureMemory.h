#pragma once
// Inside the platform: the memory a decoded picture takes, measured against
// what the process can still have before any of it is taken.
#include <QImage>
#include <cstdint>

#include "platform/files/PictureOpenFailure.h"
#include "platform/files/decode/AvailableMemory.h"

// Records in the failure that `needed` bytes (a file's, or a picture's with
// its reader's working memory) do not fit in what is available; false.
bool RecordShortage(PictureOpenFailure& failure, uint64_t needed,
                    uint64_t available = AvailableMemory());

// A reader checks its picture's sides, then that the file holds the
// picture's data, and only then takes the picture's memory; a refusal is
// recorded in the failure.
class PictureMemory {
 public:
  explicit PictureMemory(PictureOpenFailure& failure) : failure_(failure) {}

  // Whether the sides may be taken: a side below 1 is damage, one above
  // kMaxPictureSide too large.
  bool AdmitSides(int64_t width, int64_t height);
  // The picture's memory (Format_ARGB32, not cleared), or a null image when
  // the sides are refused or the picture and workingBytes more that the
  // reader needs beside it do not fit in AvailableMemory().
  QImage Take(int64_t width, int64_t height, uint64_t workingBytes = 0);
  // What the picture asked of Take needs with its reader's working memory;
  // 0 before.
  uint64_t Needed() const { return needed_; }

 private:
  bool Admit(int64_t width, int64_t height, uint64_t workingBytes);

  PictureOpenFailure& failure_;
  uint64_t needed_ = 0;
};
