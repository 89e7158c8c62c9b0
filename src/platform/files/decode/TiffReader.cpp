#include "platform/files/decode/TiffReader.h"

#include <memory>
#include <optional>
#include <vector>

#include "platform/files/decode/OrientedRows.h"
#include "platform/files/decode/Signature.h"
#include "platform/files/decode/TiffDataCheck.h"
#include "platform/files/decode/TiffFile.h"
#include "platform/files/decode/TiffLayout.h"
#include "platform/files/decode/TiffRows.h"
#include "platform/files/decode/TiffSamples.h"

bool IsTiff(const EncodedFile& file) {
  const auto bytes = file.Bytes();
  return HasBytesAt(bytes, 0, std::string_view("II*\0", 4)) ||
         HasBytesAt(bytes, 0, std::string_view("MM\0*", 4));
}

DecodeResult ReadTiff(const EncodedFile& file, PictureMemory& memory) {
  const std::unique_ptr<TiffFile> tiff = TiffFile::Open(file.Bytes());
  if (!tiff) return DecodeResult::Refused();
  // libtiff reports some damage only as an error beside a usable answer.
  const std::optional<TiffLayout> layout = ReadTiffLayout(tiff->Handle());
  if (!layout || tiff->Damaged()) return DecodeResult::Refused();
  const bool turned = OrientedRows::Turns(layout->orientation);
  const int64_t shownWidth = turned ? layout->height : layout->width;
  const int64_t shownHeight = turned ? layout->width : layout->height;
  if (!memory.AdmitSides(shownWidth, shownHeight) ||
      !HoldsItsData(tiff->Handle(), *layout, tiff->Size()) || tiff->Damaged())
    return DecodeResult::Refused();

  const uint64_t workingBytes = TiffRows::WorkingBytes(tiff->Handle(), *layout) +
                                TiffSamples::WorkingBytes(*layout) +
                                OrientedRows::WorkingBytes(layout->width, layout->orientation);
  QImage image = memory.Take(shownWidth, shownHeight, workingBytes);
  if (image.isNull()) return DecodeResult::Refused();
  tiff->StartDecoding();
  const std::unique_ptr<TiffRows> rows = TiffRows::Of(*tiff, file.Bytes(), *layout);
  if (!rows) return DecodeResult::Refused();
  TiffSamples samples(*layout);
  OrientedRows placed(image, layout->orientation);
  std::vector<const uint8_t*> planes(size_t(layout->samplesPerPixel));
  for (int y = 0; y < layout->height; ++y) {
    if (!rows->Next(planes.data())) return DecodeResult::Refused();
    samples.Convert(planes.data(), placed.Row(y));
    placed.Place(y, 1);
  }
  return DecodeResult::Decoded(std::move(image), layout->alpha < 0);
}
