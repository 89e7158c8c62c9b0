#include "platform/files/decode/PictureMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <new>

#include "platform/graphics/PictureImage.h"

namespace {
// Huge pages where the system gives them on request: a large picture then
// takes a fraction of the page faults and TLB misses as it is written (a
// third of the time of decoding a large JPEG), and rows written out of order,
// as a turned picture's are, cost no more than rows written in order.
void PreferHugePages(QImage& image) {
  const auto page = uintptr_t(sysconf(_SC_PAGESIZE));
  const auto start = (uintptr_t(image.bits()) + page - 1) / page * page;
  const auto end = (uintptr_t(image.bits()) + uintptr_t(image.sizeInBytes())) / page * page;
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}
}  // namespace

bool RecordShortage(PictureOpenFailure& failure, uint64_t needed, uint64_t available) {
  failure.kind = PictureOpenFailure::Kind::kNotEnoughMemory;
  failure.bytesNeeded = needed;
  failure.bytesAvailable = available;
  return false;
}

bool PictureMemory::AdmitSides(int64_t width, int64_t height) {
  using Kind = PictureOpenFailure::Kind;
  if (width < 1 || height < 1) {
    failure_.kind = Kind::kNoImageData;
    return false;
  }
  failure_.width = width;
  failure_.height = height;
  if (width > kMaxPictureSide || height > kMaxPictureSide) {
    failure_.kind = Kind::kTooLarge;
    failure_.largestSide = kMaxPictureSide;
    return false;
  }
  return true;
}

bool PictureMemory::Admit(int64_t width, int64_t height, uint64_t workingBytes) {
  if (!AdmitSides(width, height)) return false;
  needed_ = uint64_t(width) * uint64_t(height) * 4 + workingBytes;
  const uint64_t available = AvailableMemory();
  return needed_ <= available || RecordShortage(failure_, needed_, available);
}

QImage PictureMemory::Take(int64_t width, int64_t height, uint64_t workingBytes) {
  if (!Admit(width, height, workingBytes)) return {};
  QImage image;
  try {
    image = QImage(int(width), int(height), QImage::Format_ARGB32);
  } catch (const std::bad_alloc&) {
  }
  if (image.isNull())
    RecordShortage(failure_, needed_);
  else
    PreferHugePages(image);
  return image;
}
