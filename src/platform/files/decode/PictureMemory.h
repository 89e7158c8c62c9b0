#pragma once
// Inside the platform: the memory a decoded picture takes, measured against
// what the process can still have before any of it is taken.
#include <QImage>
#include <cstdint>

#include "platform/files/PictureOpenFailure.h"

// What the process can still take: the least of the memory the system has
// available, what its cgroup's limit leaves, and what RLIMIT_AS and
// RLIMIT_DATA leave when they are set.
uint64_t AvailableMemory();

// A reader asks for its picture once it knows the size and has checked that
// the file holds the picture's data; a refusal is recorded in the failure.
class PictureMemory {
 public:
  explicit PictureMemory(PictureOpenFailure& failure) : failure_(failure) {}

  // Whether a width x height picture, and workingBytes more that the reader
  // needs beside it, may be taken. When not, the failure says why: a side
  // below 1 is damage, a side above kMaxPictureSide is too large, and more
  // than AvailableMemory() is not enough memory.
  bool Admit(int64_t width, int64_t height, uint64_t workingBytes = 0);
  // The sides alone, for a reader that checks them before it checks that the
  // file holds the picture's data.
  bool AdmitSides(int64_t width, int64_t height);
  // The picture's memory (Format_ARGB32, not cleared) once admitted, or a
  // null image.
  QImage Take(int64_t width, int64_t height, uint64_t workingBytes = 0);

 private:
  PictureOpenFailure& failure_;
};
