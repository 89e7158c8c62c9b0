#include "platform/files/decode/SgiReader.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/files/decode/ByteCursor.h"
#include "platform/files/decode/EightBitLevel.h"
#include "platform/files/decode/Signature.h"

namespace {
constexpr uint64_t kHeaderBytes = 512;

struct Header {
  bool runLength;
  int sampleBytes;  // 1 or 2
  uint64_t width, height;
  int channels;     // gray, gray and alpha, RGB, RGBA
};

bool ReadHeader(std::span<const uint8_t> bytes, Header& header) {
  ByteCursor in(bytes);
  in.Skip(2);  // the signature
  const uint64_t storage = in.BigEndian(1), sampleBytes = in.BigEndian(1);
  const uint64_t dimension = in.BigEndian(2);
  const uint64_t width = in.BigEndian(2), height = in.BigEndian(2), depth = in.BigEndian(2);
  in.Skip(92);  // smallest and largest sample, unused, name
  const uint64_t colorMap = in.BigEndian(4);  // 0: plain samples
  if (!in.Ok() || bytes.size() < kHeaderBytes || storage > 1 ||
      (sampleBytes != 1 && sampleBytes != 2) || dimension < 1 || dimension > 3 || colorMap != 0)
    return false;
  // One row of one channel, rows of one channel, or rows of depth channels.
  const uint64_t channels = dimension == 3 ? depth : 1;
  if (channels < 1 || channels > 4) return false;
  header = {storage == 1, int(sampleBytes), width, dimension == 1 ? 1 : height, int(channels)};
  return true;
}

uint8_t Sample(const uint8_t* p, int sampleBytes) {
  return sampleBytes == 1 ? p[0] : EightBitLevel(uint32_t(p[0]) << 8 | p[1]);
}

// Run-length rows, each found through a table of offsets and one of lengths
// (channel by channel, bottom row first) that follow the header.
class RunLengthRows {
 public:
  RunLengthRows(std::span<const uint8_t> file, const Header& header)
      : file_(file), header_(header), rows_(header.height * uint64_t(header.channels)) {
    ByteCursor tables(file.subspan(kHeaderBytes));
    starts_ = tables.Take(rows_ * 4);
    lengths_ = tables.Take(rows_ * 4);
  }

  // Whether the tables are there and every row lies within the file with a
  // length that a row of the picture's width can have (packets of at most
  // 127 samples, each a count and at least one sample, then a closing count)
  // and packets that give that width, so that a damaged file is refused
  // before the picture's memory is taken. Nothing is unpacked.
  bool Complete() const {
    if (!lengths_) return false;
    const uint64_t unit = uint64_t(header_.sampleBytes);
    const uint64_t least = (header_.width + 126) / 127 * 2 * unit;
    const uint64_t most = (2 * header_.width + 1) * unit;
    for (uint64_t index = 0; index < rows_; ++index) {
      const uint64_t start = Entry(starts_, index), length = Entry(lengths_, index);
      if (length < least || length > most || length % unit != 0 || start > file_.size() ||
          length > file_.size() - start ||
          !Walk(index, [](uint64_t, const uint8_t*, uint64_t, bool) {}))
        return false;
    }
    return true;
  }

  // One row of a channel, once the rows are known to be complete.
  void Read(uint64_t channel, uint64_t row, uint8_t* samples) const {
    const int unit = header_.sampleBytes;
    Walk(channel * header_.height + row,
         [&](uint64_t x, const uint8_t* p, uint64_t length, bool literal) {
           if (!literal)
             std::fill_n(samples + x, length, Sample(p, unit));
           else
             for (uint64_t i = 0; i < length; ++i) samples[x + i] = Sample(p + i * unit, unit);
         });
  }

 private:
  // Walks the row's packets, handing each to put: where its samples go, the
  // stored samples it copies (a literal) or the one it repeats (a run), and
  // how many it gives. False when they do not give exactly the picture's
  // width.
  template <class Put>
  bool Walk(uint64_t index, Put put) const {
    const int unit = header_.sampleBytes;
    ByteCursor in(file_.subspan(Entry(starts_, index), Entry(lengths_, index)));
    uint64_t x = 0;
    while (in.Left() > 0) {
      const uint64_t count = in.BigEndian(unit);
      const uint64_t length = count & 0x7F;
      if (length == 0) break;
      if (length > header_.width - x) return false;
      const bool literal = count & 0x80;
      const uint8_t* p = in.Take(literal ? length * unit : unit);
      if (!p) return false;
      put(x, p, length, literal);
      x += length;
    }
    return x == header_.width;
  }

  uint64_t Entry(const uint8_t* table, uint64_t row) const {
    return ByteCursor({table, rows_ * 4}, row * 4).BigEndian(4);
  }

  std::span<const uint8_t> file_;
  Header header_;
  uint64_t rows_;
  const uint8_t* starts_ = nullptr;
  const uint8_t* lengths_ = nullptr;
};

// Stores a channel's samples in a row of ARGB32 pixels: gray fills red,
// green and blue; the channel after the colour ones is alpha.
void StoreRow(const uint8_t* samples, int channel, int channels, QRgb* pixels, uint64_t width) {
  const bool gray = channels <= 2;
  const int shift = channel == (gray ? 1 : 3) ? 24 : 16 - 8 * channel;
  for (uint64_t x = 0; x < width; ++x) {
    if (gray && channel == 0)
      pixels[x] = (pixels[x] & 0xFF000000u) | qRgb(samples[x], samples[x], samples[x]);
    else
      pixels[x] = (pixels[x] & ~(0xFFu << shift)) | uint32_t(samples[x]) << shift;
  }
}
}  // namespace

bool IsSgi(const EncodedFile& file) { return HasBytesAt(file.Bytes(), 0, "\x01\xDA"); }

DecodeResult ReadSgi(const EncodedFile& file, PictureMemory& memory) {
  const std::span<const uint8_t> bytes = file.Bytes();
  Header header;
  if (!ReadHeader(bytes, header) ||
      !memory.AdmitSides(int64_t(header.width), int64_t(header.height)))
    return DecodeResult::Refused();

  // The file must hold every row before the picture's memory is taken.
  const uint64_t rowBytes = header.width * uint64_t(header.sampleBytes);
  std::optional<RunLengthRows> packed;
  if (header.runLength) packed.emplace(bytes, header);
  if (packed ? !packed->Complete()
             : bytes.size() - kHeaderBytes < rowBytes * header.height * header.channels)
    return DecodeResult::Refused();

  QImage image = memory.Take(int64_t(header.width), int64_t(header.height), header.width);
  if (image.isNull()) return DecodeResult::Refused();
  std::vector<uint8_t> samples(header.width);
  image.fill(0xFF000000u);
  for (uint64_t row = 0; row < header.height; ++row) {
    auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(int(header.height - 1 - row)));
    for (int channel = 0; channel < header.channels; ++channel) {
      if (packed) {
        packed->Read(uint64_t(channel), row, samples.data());
      } else {
        const uint8_t* stored =
            bytes.data() + kHeaderBytes + (uint64_t(channel) * header.height + row) * rowBytes;
        for (uint64_t x = 0; x < header.width; ++x)
          samples[x] = Sample(stored + x * uint64_t(header.sampleBytes), header.sampleBytes);
      }
      StoreRow(samples.data(), channel, header.channels, pixels, header.width);
    }
  }
  const bool alpha = header.channels == 2 || header.channels == 4;
  return DecodeResult::Decoded(std::move(image), !alpha);
}
