#pragma once
// Why a file gave no picture.
#include <cstdint>
#include <string>

struct PictureOpenFailure {
  enum class Kind {
    kNoImageData,      // not a picture of a format the platform reads, or damaged
    kUnreadable,       // the file itself could not be read
    kTooLarge,         // a side above largestSide
    kNotEnoughMemory,  // the picture (or the file) does not fit in memory
  };
  Kind kind = Kind::kNoImageData;
  std::string reason;             // kUnreadable: the system's words ("Permission denied")
  int64_t width = 0, height = 0;  // kTooLarge, kNotEnoughMemory: the picture's size
                                  // (0 x 0 when the file itself does not fit)
  int32_t largestSide = 0;        // kTooLarge
  uint64_t bytesNeeded = 0;       // kNotEnoughMemory
  uint64_t bytesAvailable = 0;    // kNotEnoughMemory
};
