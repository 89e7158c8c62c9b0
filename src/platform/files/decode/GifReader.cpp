#include "platform/files/decode/GifReader.h"

#include <QRect>
#include <array>

#include "platform/files/decode/ByteCursor.h"
#include "platform/files/decode/FillOutside.h"
#include "platform/files/decode/GifLzw.h"
#include "platform/files/decode/Signature.h"

namespace {

constexpr uint32_t kExtension = 0x21, kImage = 0x2C, kTrailer = 0x3B;
constexpr uint32_t kGraphicControl = 0xF9;
constexpr QRgb kBlack = 0xFF000000;

// What the first frame needs: where it stands, its colours and its codes.
struct Frame {
  QRect area;
  bool interlaced = false;
  int transparent = -1;
  const uint8_t* colors = nullptr;  // red, green, blue for each entry
  int colorCount = 0;
  int minimumCodeSize = 0;
  std::span<const uint8_t> blocks;  // the data blocks, terminator included
  uint64_t codeBytes = 0;
};

struct Screen {
  int width = 0, height = 0;
  const uint8_t* colors = nullptr;
  int colorCount = 0;
  int background = 0;
};

// Passes over data blocks up to their terminator, counting their bytes.
bool SkipBlocks(ByteCursor& in, uint64_t* bytes = nullptr) {
  for (uint32_t length; (length = in.LittleEndian(1)) != 0;) {
    if (!in.Skip(length)) return false;
    if (bytes) *bytes += length;
  }
  return in.Ok();
}

// A colour table when the flags say there is one: 2 ^ (size + 1) entries.
const uint8_t* ColorTable(ByteCursor& in, uint32_t flags, int& count) {
  count = flags & 0x80 ? 2 << (flags & 7) : 0;
  return count ? in.Take(uint64_t(count) * 3) : nullptr;
}

// Reads the first frame and the blocks around it; false unless every block
// of the file is whole up to the trailer.
bool ReadStructure(std::span<const uint8_t> gif, Screen& screen, Frame& frame) {
  ByteCursor in(gif, 6);
  screen.width = int(in.LittleEndian(2));
  screen.height = int(in.LittleEndian(2));
  const uint32_t flags = in.LittleEndian(1);
  screen.background = int(in.LittleEndian(1));
  in.Skip(1);  // aspect ratio
  screen.colors = ColorTable(in, flags, screen.colorCount);
  bool found = false;
  while (in.Ok()) {
    const uint32_t introducer = in.LittleEndian(1);
    if (introducer == kTrailer) return found;
    if (introducer == kExtension) {
      const uint32_t label = in.LittleEndian(1);
      if (label == kGraphicControl && !found) {
        // Flags, delay and transparent index, in a first block of 4 bytes.
        const uint32_t length = in.LittleEndian(1);
        const uint8_t* control = in.Take(length);
        if (!in.Ok()) return false;
        frame.transparent = length >= 4 && control[0] & 1 ? control[3] : -1;
        if (length == 0) continue;  // that was the terminator
      }
      if (!SkipBlocks(in)) return false;
    } else if (introducer == kImage) {
      const int left = int(in.LittleEndian(2)), top = int(in.LittleEndian(2));
      const int width = int(in.LittleEndian(2)), height = int(in.LittleEndian(2));
      const uint32_t imageFlags = in.LittleEndian(1);
      int colorCount = 0;
      const uint8_t* colors = ColorTable(in, imageFlags, colorCount);
      const int minimumCodeSize = int(in.LittleEndian(1));
      const size_t start = in.Position();
      uint64_t codeBytes = 0;
      if (!SkipBlocks(in, &codeBytes)) return false;
      if (found) continue;
      found = true;
      frame.area = QRect(left, top, width, height);
      frame.interlaced = imageFlags & 0x40;
      frame.colors = colors ? colors : screen.colors;
      frame.colorCount = colors ? colorCount : screen.colorCount;
      frame.minimumCodeSize = minimumCodeSize;
      frame.blocks = gif.subspan(start, in.Position() - start);
      frame.codeBytes = codeBytes;
    } else {
      return false;
    }
  }
  return false;
}

// The row shown for the stored row of an interlaced frame: every 8th row
// from 0, every 8th from 4, every 4th from 2, then every 2nd from 1.
uint32_t InterlacedRow(uint32_t stored, uint32_t height) {
  static constexpr uint32_t kFirst[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    const uint32_t rows =
        height > kFirst[pass] ? (height - kFirst[pass] + kStep[pass] - 1) / kStep[pass] : 0;
    if (stored < rows) return kFirst[pass] + stored * kStep[pass];
    stored -= rows;
  }
  return height;
}

QRgb Color(const uint8_t* colors, int count, int index) {
  if (index >= count) return kBlack;
  const uint8_t* rgb = colors + index * 3;
  return qRgb(rgb[0], rgb[1], rgb[2]);
}

}  // namespace

bool IsGif(const EncodedFile& file) {
  return HasBytesAt(file.Bytes(), 0, "GIF87a") || HasBytesAt(file.Bytes(), 0, "GIF89a");
}

// The first frame, composed on its logical screen (or, when the screen has
// no size, on one that just holds it): the screen's background around it,
// or transparency when the frame has a transparent index.
DecodeResult ReadGif(const EncodedFile& file, PictureMemory& memory) {
  Screen screen;
  Frame frame;
  if (!ReadStructure(file.Bytes(), screen, frame) || frame.area.isEmpty() ||
      frame.minimumCodeSize < 2 || frame.minimumCodeSize > 8)
    return DecodeResult::Refused();
  const int width = screen.width ? screen.width : frame.area.right() + 1;
  const int height = screen.height ? screen.height : frame.area.bottom() + 1;
  const uint64_t workingBytes = uint64_t(frame.area.width()) + (64 << 10);
  const uint64_t pixels = uint64_t(frame.area.width()) * uint64_t(frame.area.height());
  if (!memory.AdmitSides(width, height) || frame.codeBytes < LeastLzwBytes(pixels))
    return DecodeResult::Refused();
  QImage image = memory.Take(width, height, workingBytes);
  if (image.isNull()) return DecodeResult::Refused();

  std::array<QRgb, 256> palette;
  for (int i = 0; i < 256; ++i) palette[size_t(i)] = Color(frame.colors, frame.colorCount, i);
  if (frame.transparent >= 0) palette[size_t(frame.transparent)] &= RGB_MASK;
  const QRect shown = frame.area & image.rect();
  const auto store = [&](uint32_t stored, const uint8_t* indices) {
    const uint32_t y =
        frame.interlaced ? InterlacedRow(stored, uint32_t(frame.area.height())) : stored;
    const int imageY = frame.area.top() + int(y);
    if (shown.isEmpty() || imageY < shown.top() || imageY > shown.bottom()) return;
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(imageY));
    for (int x = shown.left(); x <= shown.right(); ++x)
      row[x] = palette[indices[x - frame.area.left()]];
  };
  if (!DecodeLzw(frame.blocks, frame.minimumCodeSize, uint32_t(frame.area.width()),
                 uint32_t(frame.area.height()), store))
    return DecodeResult::Refused();
  const QRgb background =
      frame.transparent >= 0 ? 0 : Color(screen.colors, screen.colorCount, screen.background);
  FillOutside(image, shown, background);
  return DecodeResult::Decoded(std::move(image), frame.transparent < 0);
}
