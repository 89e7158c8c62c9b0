#include "image/OpenFailureMessage.h"

#include <cmath>

#include "platform/runtime/Conversions.h"

const char* const kNoImageDataMessage = "The file you selected contains no recognizable image data.";

namespace {
constexpr double kBytesPerGB = 1e9, kBytesPerMB = 1e6;

std::string Pixels(int64_t width, int64_t height) {
  return Format(double(width), "#,##0") + " x " + Format(double(height), "#,##0") + " pixels";
}

// An amount of memory to a tenth of a GB (or a whole MB below 1 GB), rounded
// up for what is needed and down for what is available, so that the two
// never read the same.
std::string Amount(uint64_t bytes, bool roundUp) {
  auto rounded = [&](double units) { return roundUp ? std::ceil(units) : std::floor(units); };
  if (double(bytes) >= kBytesPerGB)
    return Format(rounded(double(bytes) / kBytesPerGB * 10) / 10, "#,##0.0") + " GB";
  return Format(rounded(double(bytes) / kBytesPerMB), "#,##0") + " MB";
}
}  // namespace

std::string OpenFailureMessage(const std::string& fileName, const PictureOpenFailure& failure) {
  using Kind = PictureOpenFailure::Kind;
  switch (failure.kind) {
    case Kind::kNoImageData:
      break;
    case Kind::kUnreadable:
      return "Vamor could not read \u201C" + fileName + "\u201D: " + failure.reason + ".";
    case Kind::kTooLarge:
      return fileName + " is " + Pixels(failure.width, failure.height) +
             "; Vamor opens pictures of at most " +
             Pixels(failure.largestSide, failure.largestSide) + ".";
    case Kind::kNotEnoughMemory: {
      if (failure.bytesNeeded == 0)
        return "Vamor could not open " + fileName + ": there is not enough memory.";
      const std::string what = failure.width > 0 && failure.height > 0
                                   ? " is " + Pixels(failure.width, failure.height) + " and"
                                   : "";
      return fileName + what + " needs " + Amount(failure.bytesNeeded, true) +
             " of memory; only " + Amount(failure.bytesAvailable, false) + " is available.";
    }
  }
  return kNoImageDataMessage;
}
